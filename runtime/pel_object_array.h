// CPelObjectArray: an array that owns runtime objects and releases them when it is cleared.
#pragma once

#include <cstdint>

#include "runtime/class_family.h"
#include "runtime/pel_mem.h"
#include "runtime/pel_object.h"

// Members are objects made by a factory, CreateInstance or Clone; the array ends them with Release when it
// is cleared, reset or destroyed. Copies hold clones. One thread at a time.
class CPelObjectArray : public CPelObject {
  PEL_OBJECT_CLASS(CPelObjectArray, CPelObject, "CPelObjectArray")

  // Growth step of the pointer storage, in bytes.
  static constexpr std::int32_t kStorageStep = 128;

  CPelObjectArray();
  // An array of clones of `other`'s members.
  CPelObjectArray(const CPelObjectArray& other);
  // Releases this array's members, then appends a clone of each of `other`'s; nothing when `other` is
  // this array.
  CPelObjectArray& operator=(const CPelObjectArray& other);
  // Releases every member.
  ~CPelObjectArray() override;

  // Number of members.
  int GetCount() const { return storage_.GetLength() / static_cast<std::int32_t>(sizeof(CPelObject*)); }
  // Member `index`, owned by the array; null for an index out of range.
  CPelObject* GetAt(int index) const;
  // Takes ownership of `member` and appends it. Refused (false, nothing taken) for null or the array
  // itself.
  bool Add(CPelObject* member);
  // Releases every member and frees the storage.
  void RemoveAll();

  // Appends the array header and, per shown member (limit < 0: all; 0: 64), its class name, address and
  // the member's own dump made with the same limit.
  void DumpTo(CWString& output, int limit) const override;

 protected:
  // Same count and each member IsEqual to the one at the same index.
  bool HasEqualFields(const CPelObjectArray& other) const;

 private:
  CPelObject* const* Members() const { return static_cast<CPelObject* const*>(storage_.GetData()); }

  CPelMem storage_;
};
