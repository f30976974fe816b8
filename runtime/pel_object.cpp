#include "runtime/pel_object.h"

#include "runtime/class_family.h"
#include "runtime/w_string.h"

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

void CPelObject::DumpTo(CWString& output, int) const {
  CWString class_name;
  class_name.SetFromUtf8(GetClassInfo().name_record.name);
  output.AppendFormat(L"无法解析的对象数据,其输出类名为: \"%s\", 地址为: 0x%X", class_name.GetText(),
                      static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(this)));
  if (IsNullObject()) output.Append(L", 为空对象");
}

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
