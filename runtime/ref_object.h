// Reference-counted holders: CRefObject (atomic count, starts at 1) and CRefObjectWithData<T>.
#pragma once

#include <atomic>
#include <cstdint>
#include <utility>

#include "runtime/class_family.h"
#include "runtime/common_base.h"

// A shared holder that ends itself when the last reference is released. Slots after the memory slots:
// GetClassInfo, IsKindOf (the "CRefObject" record, shared by every subclass), the destructor (destroy),
// Release, OnFinalRelease. Create with new; never delete directly.
class CRefObject : public CPelCommonBaseWithMemManager {
  PEL_NAMED_CLASS(CRefObject, "CRefObject")

 public:
  CRefObject() = default;
  CRefObject(const CRefObject&) = delete;
  CRefObject& operator=(const CRefObject&) = delete;

  // Slot 7 (destroy).
  virtual ~CRefObject();
  // Slot 8: drops one reference. Returns 0 while references remain; at the last one calls
  // OnFinalRelease, destroys the holder, frees its memory and returns 1.
  virtual int Release();
  // Slot 9: called once, just before the holder is destroyed; nothing by default.
  virtual void OnFinalRelease();

  // Adds one reference (atomic; any thread).
  void AddRef() { ref_count_.fetch_add(1, std::memory_order_relaxed); }
  // The current count, for diagnostics; it may change at once on other threads.
  std::int32_t GetRefCount() const { return ref_count_.load(std::memory_order_relaxed); }

 private:
  std::atomic<std::int32_t> ref_count_{1};
};

// A shared holder of one value of type T, destroyed with the holder (handles of the network and UI layers).
template <class T>
class CRefObjectWithData : public CRefObject {
 public:
  // Constructs the held value from `args`.
  template <class... Args>
  explicit CRefObjectWithData(Args&&... args) : data_(std::forward<Args>(args)...) {}

  // The held value; owned by the holder.
  T& GetData() { return data_; }
  const T& GetData() const { return data_; }

 private:
  T data_;
};

// Virtual table and reference count: 8 bytes in the 32-bit program, padded to 16 in the 64-bit build.
static_assert(sizeof(CRefObject) == (sizeof(void*) == 4 ? 8 : 16), "virtual table, reference count");
