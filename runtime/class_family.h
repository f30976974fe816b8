// The per-class member family of the object model, written once: PEL_OBJECT_CLASS for value classes and
// PEL_NAMED_CLASS for the classes that carry only a name record.
#pragma once

#include "runtime/class_info.h"
#include "runtime/pel_object.h"

namespace vexo {

// The family's identity tests, giving the object back when it passes (null otherwise). They are compiled
// out of line on purpose: the optimiser cannot trace the result back to the argument, so the cast to the
// full class that follows a passed test is never compiled against an object it knows to be smaller (a
// smaller object can only reach the cast on the path the test rules out).
// `object` when its class is that of `record` or derived from it.
const CPelObject* ObjectOfKind(const CPelObject& object, const ClassInfo& record);
// `object` when its class is exactly that of `record`.
const CPelObject* ObjectOfClass(const CPelObject& object, const ClassInfo& record);

// The family's behaviour for class Self, shared by every class that applies PEL_OBJECT_CLASS.
template <class Self>
struct ObjectFamily {
  // The record's factory: a default Self from the memory manager.
  static CPelObject* Create() { return new Self(); }

  // Exact class match by record (a subclass is not equal to its base), then the fields' equality.
  static bool IsEqual(const Self& self, const CPelObject& other) {
    const CPelObject* same = ObjectOfClass(other, Self::StaticClassInfo());
    return same != nullptr && self.HasEqualFields(*static_cast<const Self*>(same));
  }

  // Copies only from an object of Self's class or one derived from it: the hook, then Self's fields.
  static bool CopyFrom(Self& self, const CPelObject& other) {
    const CPelObject* source = ObjectOfKind(other, Self::StaticClassInfo());
    if (source == nullptr) return false;
    self.OnBeforeAssign();
    self = *static_cast<const Self*>(source);
    return true;
  }

  // The hook, then every field of Self back to its constructed value.
  static void Reset(Self& self) {
    self.OnBeforeAssign();
    self = Self();
  }
};

}  // namespace vexo

// Applies the member family to value class `Self` (derived from `BaseClass`, registered as `name`, a UTF-8
// literal unique in the program). Place it first in the class body; it leaves the access at public.
// The class supplies: a default constructor, copy construction and copy assignment that copy its fields
// (and the base's), and, when it adds fields, `bool HasEqualFields(const Self&) const` comparing them
// after `BaseClass::HasEqualFields`. Reset assigns a default-constructed Self.
#define PEL_OBJECT_CLASS(Self, BaseClass, name)                                                   \
 private:                                                                                        \
  template <class>                                                                               \
  friend struct ::vexo::ObjectFamily;                                                            \
                                                                                                 \
 public:                                                                                         \
  static const ::ClassInfo& StaticClassInfo() {                                                  \
    static const ::ClassInfo record = ::MakeClassInfo(&::vexo::ObjectFamily<Self>::Create, name); \
    return record;                                                                               \
  }                                                                                              \
  const ::ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }                 \
  bool IsEqual(const ::CPelObject& other) const override {                                       \
    return ::vexo::ObjectFamily<Self>::IsEqual(*this, other);                                    \
  }                                                                                              \
  ::CPelObject* CreateInstance() const override { return StaticClassInfo().factory(); }          \
  ::CPelObject* Clone() const override { return new Self(*this); }                               \
  bool CopyFrom(const ::CPelObject& other) override {                                            \
    return ::vexo::ObjectFamily<Self>::CopyFrom(*this, other);                                   \
  }                                                                                              \
  void Reset() override { ::vexo::ObjectFamily<Self>::Reset(*this); }                            \
  bool IsKindOf(const ::ClassInfo& record) const override {                                      \
    return ::MatchClassRecord(StaticClassInfo(), record) || BaseClass::IsKindOf(record);         \
  }

// Applies the name-record family to `Self` (registered as `name`): the static record, GetClassInfo and an
// IsKindOf that accepts that record only. For the root of a holder tree (CRefObject, CMStringArray), which
// declares them as its first slots after the memory slots; subclasses share the root's record.
#define PEL_NAMED_CLASS(Self, name)                                                               \
 public:                                                                                         \
  static const ::ClassNameRecord& StaticClassInfo() {                                            \
    static const ::ClassNameRecord record = ::MakeClassNameRecord(name);                         \
    return record;                                                                               \
  }                                                                                              \
  virtual const ::ClassNameRecord& GetClassInfo() const { return StaticClassInfo(); }            \
  virtual bool IsKindOf(const ::ClassNameRecord& record) const {                                 \
    return ::MatchClassRecord(StaticClassInfo(), record);                                        \
  }
