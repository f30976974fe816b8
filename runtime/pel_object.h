// The value object root CPelObject: flags and reserved words and the fixed protocol of virtual operations.
#pragma once

#include <cstdint>

#include "runtime/class_info.h"
#include "runtime/common_base.h"
#include "runtime/win/windows_api.h"

class CWString;

namespace vexo {
class BinaryStream;
template <class Self>
struct ObjectFamily;
}  // namespace vexo

// Every value class derives from CPelObject and applies PEL_OBJECT_CLASS (runtime/class_family.h), which
// supplies its record, identity, factory, clone, copy, reset and equality. Virtual operations, in slot
// order after the memory slots 0-4: GetClassInfo, IsEqual, CreateInstance, Clone, CopyFrom, Reset, the
// destructor (the destroy slot), Release, IsKindOf, DumpTo, LoadFrom, SaveTo, OnBeforeAssign.
class CPelObject : public CPelCommonBaseWithMemManager {
 public:
  // Flags bit 0: the object stands for an absent value (an omitted optional argument).
  static constexpr std::uint32_t kNullObjectFlag = 1;
  // Destroy flags: bit 0 frees the object's memory afterwards, unless bit 2 is set too.
  static constexpr std::uint32_t kDestroyFree = 1;
  static constexpr std::uint32_t kDestroyKeepMemory = 4;

  CPelObject() = default;
  CPelObject(const CPelObject&) = default;
  CPelObject& operator=(const CPelObject&) = default;

  // The record of the class itself (the root of every identity chain).
  static const ClassInfo& StaticClassInfo();

  // Slot 5: the record of the object's own class.
  virtual const ClassInfo& GetClassInfo() const;
  // Slot 6: true only for an object of exactly the same class (by record) with the same null flag,
  // reserved word and class fields.
  virtual bool IsEqual(const CPelObject& other) const;
  // Slot 7: a new default instance of the object's class; the caller owns it (end it with Release).
  virtual CPelObject* CreateInstance() const;
  // Slot 8: a new copy of this object, of the same class; the caller owns it (end it with Release).
  virtual CPelObject* Clone() const;
  // Slot 9: copies `other` into this object when `other` is of this object's class or derived from it;
  // otherwise returns false and changes nothing.
  virtual bool CopyFrom(const CPelObject& other);
  // Slot 10: OnBeforeAssign, then every field takes its constructed value.
  virtual void Reset();
  // Slot 11 (destroy): runs the destructor chain. Destroy(flags) below chooses whether memory is freed.
  virtual ~CPelObject();
  // Slot 12: ends an object made by a factory, CreateInstance or Clone, and frees its memory.
  virtual void Release();
  // Slot 13: whether the object's class, or one of its bases up to CPelObject, matches `record`.
  virtual bool IsKindOf(const ClassInfo& record) const;
  // Slot 14: appends a debug description of the object to `output`; `limit` bounds what containers show.
  virtual void DumpTo(CWString& output, int limit) const;
  // Slot 15: reads the object's fields from `stream`; nothing for fieldless classes.
  virtual void LoadFrom(vexo::BinaryStream& stream);
  // Slot 16: writes the object's fields to `stream`; nothing for fieldless classes.
  virtual void SaveTo(vexo::BinaryStream& stream) const;
  // Slot 17: called before CopyFrom and Reset overwrite the fields; nothing by default.
  virtual void OnBeforeAssign();

  // The destroy operation with its flags: runs the destructor chain, then frees the memory when
  // kDestroyFree is set and kDestroyKeepMemory is not.
  void Destroy(std::uint32_t flags);

  // Whether the object is the null object (flags bit 0): an absent optional value.
  bool IsNullObject() const { return (flags_ & kNullObjectFlag) != 0; }
  // Marks or unmarks the object as the null object.
  void SetNullObject(bool is_null) {
    flags_ = is_null ? (flags_ | kNullObjectFlag) : (flags_ & ~kNullObjectFlag);
  }
  std::uint32_t GetFlags() const { return flags_; }

 protected:
  // Equality of the fields this class adds; each class compares its own and defers to its base.
  bool HasEqualFields(const CPelObject& other) const;

  std::uint32_t flags_ = 0;
  std::uint32_t reserved_ = 0;

 private:
  template <class Self>
  friend struct vexo::ObjectFamily;
};

// The null object of class T, for an omitted optional argument.
template <class T>
T MakeNullObject() {
  T object;
  object.SetNullObject(true);
  return object;
}

static_assert(sizeof(CPelObject) == sizeof(void*) + 8, "virtual table, flags word, reserved word");
