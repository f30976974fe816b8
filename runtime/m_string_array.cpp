#include "runtime/m_string_array.h"

#include <cstring>
#include <cwchar>

#include "runtime/w_string.h"

CMStringArray::CMStringArray() { storage_.SetStep(kStorageStep); }

CMStringArray::CMStringArray(const CMStringArray& other) : CMStringArray() { *this = other; }

CMStringArray& CMStringArray::operator=(const CMStringArray& other) {
  if (&other == this) return *this;
  RemoveAll();
  storage_.Insert(0, nullptr, other.storage_.GetLength());
  for (int i = 0; i < other.GetCount(); ++i) {
    const wchar_t* source = other.Slots()[i];
    if (source == nullptr) continue;
    const std::size_t length = std::wcslen(source);
    if (length == 0 || length >= kMaxStringLength) continue;
    const std::size_t bytes = (length + 1) * sizeof(wchar_t);
    auto* copy = static_cast<wchar_t*>(Alloc(bytes));
    std::memcpy(copy, source, bytes);
    static_cast<wchar_t**>(storage_.GetData())[i] = copy;
  }
  return *this;
}

CMStringArray::~CMStringArray() { RemoveAll(); }

const wchar_t* CMStringArray::GetAt(int index) const {
  if (index < 0 || index >= GetCount()) return CWString::EmptyLiteral();
  const wchar_t* text = Slots()[index];
  return text != nullptr ? text : CWString::EmptyLiteral();
}

void CMStringArray::Add(const wchar_t* text) {
  wchar_t* copy = nullptr;
  const std::size_t length = text != nullptr ? std::wcslen(text) : 0;
  if (length > 0 && length < kMaxStringLength) {
    const std::size_t bytes = (length + 1) * sizeof(wchar_t);
    copy = static_cast<wchar_t*>(Alloc(bytes));
    std::memcpy(copy, text, bytes);
  }
  storage_.Append(&copy, sizeof(copy));
}

void CMStringArray::RemoveAll() {
  for (int i = 0; i < GetCount(); ++i) Free(Slots()[i]);
  storage_.SetLength(0);
}

bool CMStringArray::HasSameElements(const CMStringArray& other) const {
  if (GetCount() != other.GetCount()) return false;
  for (int i = 0; i < GetCount(); ++i) {
    if (std::wcscmp(GetAt(i), other.GetAt(i)) != 0) return false;
  }
  return true;
}
