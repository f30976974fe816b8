// CMStringArray: the storage of the text array, owned UTF-16 strings whose pointers sit in one byte buffer.
#pragma once

#include <cstdint>

#include "runtime/class_family.h"
#include "runtime/common_base.h"
#include "runtime/pel_mem.h"

// Each string is allocated through the array's own memory slots with its terminator; an empty string is
// never allocated (its slot holds null). Readers see every element as a zero-terminated string, never null.
// One thread at a time.
class CMStringArray final : public CPelCommonBaseWithMemManager {
  PEL_NAMED_CLASS(CMStringArray, "CMStringArray")

 public:
  // Growth step of the pointer storage, in bytes.
  static constexpr std::int32_t kStorageStep = 128;
  // Strings of this many units or more are not copied (their size would not fit 32 bits).
  static constexpr std::size_t kMaxStringLength = 0x40000000;

  CMStringArray();
  // A copy with newly allocated strings.
  CMStringArray(const CMStringArray& other);
  // Frees this array's strings, then copies `other`'s into new ones; nothing when `other` is this array.
  CMStringArray& operator=(const CMStringArray& other);
  // Frees every string and the storage.
  ~CMStringArray();

  // Number of elements.
  int GetCount() const { return storage_.GetLength() / static_cast<std::int32_t>(sizeof(wchar_t*)); }
  // Element `index`; the shared empty literal for an empty element or an index out of range. Owned by the
  // array; valid until the element is removed.
  const wchar_t* GetAt(int index) const;
  // Appends a copy of zero-terminated `text`; null, empty or too long gives an empty element.
  void Add(const wchar_t* text);
  // Frees every string and the storage.
  void RemoveAll();
  // Whether both arrays hold the same number of elements and equal strings at each index (ordinal).
  bool HasSameElements(const CMStringArray& other) const;

 private:
  wchar_t* const* Slots() const { return static_cast<wchar_t* const*>(storage_.GetData()); }

  CPelMem storage_;
};
