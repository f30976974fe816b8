#include "runtime/pel_object_array.h"

#include <cstdint>

#include "runtime/array_dump.h"
#include "runtime/w_string.h"

CPelObjectArray::CPelObjectArray() { storage_.SetStep(kStorageStep); }

CPelObjectArray::CPelObjectArray(const CPelObjectArray& other) : CPelObjectArray() { *this = other; }

CPelObjectArray& CPelObjectArray::operator=(const CPelObjectArray& other) {
  CPelObject::operator=(other);
  if (&other == this) return *this;
  RemoveAll();
  for (int i = 0; i < other.GetCount(); ++i) Add(other.Members()[i]->Clone());
  return *this;
}

CPelObjectArray::~CPelObjectArray() { RemoveAll(); }

CPelObject* CPelObjectArray::GetAt(int index) const {
  return index >= 0 && index < GetCount() ? Members()[index] : nullptr;
}

bool CPelObjectArray::Add(CPelObject* member) {
  if (member == nullptr || member == this) return false;
  storage_.Append(&member, sizeof(member));
  return true;
}

void CPelObjectArray::RemoveAll() {
  // Released from a detached list, so a member's destructor never sees a half-cleared array.
  CPelMem members;
  members.SwapStorage(storage_);
  const auto* list = static_cast<CPelObject* const*>(members.GetData());
  const int count = members.GetLength() / static_cast<std::int32_t>(sizeof(CPelObject*));
  for (int i = 0; i < count; ++i) list[i]->Release();
}

void CPelObjectArray::DumpTo(CWString& output, int limit) const {
  const int shown = vexo::AppendArrayDumpHeader(output, GetCount(), limit);
  for (int i = 0; i < shown; ++i) {
    const CPelObject* member = Members()[i];
    CWString class_name;
    class_name.SetFromUtf8(member->GetClassInfo().name_record.name);
    output.AppendFormat(L"\r\n%d. 对象输出类名: \"%s\", 地址: 0x%X", i + 1, class_name.GetText(),
                        static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(member)));
    if (member->IsNullObject()) output.Append(L", 为空对象");
    output.Append(L", 内容:\r\n");
    CWString content;
    member->DumpTo(content, limit);
    output.Append(content.GetText());
  }
}

bool CPelObjectArray::HasEqualFields(const CPelObjectArray& other) const {
  if (!CPelObject::HasEqualFields(other) || GetCount() != other.GetCount()) return false;
  for (int i = 0; i < GetCount(); ++i) {
    if (!Members()[i]->IsEqual(*other.Members()[i])) return false;
  }
  return true;
}
