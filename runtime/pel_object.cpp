#include "runtime/pel_object.h"

#include "runtime/class_family.h"

const ClassInfo& CPelObject::StaticClassInfo() {
  static const ClassInfo record = MakeClassInfo(&vexo::ObjectFamily<CPelObject>::Create, "CPelObject");
  return record;
}

const ClassInfo& CPelObject::GetClassInfo() const { return StaticClassInfo(); }

bool CPelObject::IsEqual(const CPelObject& other) const {
  return vexo::ObjectFamily<CPelObject>::IsEqual(*this, other);
}

CPelObject* CPelObject::CreateInstance() const { return StaticClassInfo().factory(); }

CPelObject* CPelObject::Clone() const { return new CPelObject(*this); }

bool CPelObject::CopyFrom(const CPelObject& other) { return vexo::ObjectFamily<CPelObject>::CopyFrom(*this, other); }

void CPelObject::Reset() { vexo::ObjectFamily<CPelObject>::Reset(*this); }

CPelObject::~CPelObject() = default;

void CPelObject::Release() { Destroy(kDestroyFree); }

bool CPelObject::IsKindOf(const ClassInfo& record) const { return MatchClassRecord(StaticClassInfo(), record); }

// The generic line ("无法解析的对象数据,...") is formatted with the text type's printf-style append, which
// lives with CWString; this root version appends nothing until that type provides it.
void CPelObject::DumpTo(CWString&, int) const {}

void CPelObject::LoadFrom(vexo::BinaryStream&) {}

void CPelObject::SaveTo(vexo::BinaryStream&) const {}

void CPelObject::OnBeforeAssign() {}

void CPelObject::Destroy(std::uint32_t flags) {
  if ((flags & kDestroyFree) != 0 && (flags & kDestroyKeepMemory) == 0) {
    delete this;
  } else {
    this->~CPelObject();
  }
}

bool CPelObject::HasEqualFields(const CPelObject& other) const {
  return (flags_ & kNullObjectFlag) == (other.flags_ & kNullObjectFlag) && reserved_ == other.reserved_;
}
