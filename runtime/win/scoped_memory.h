// Holders for memory blocks that Windows hands out: movable global memory, its locks, COM task memory and
// virtual memory pages.
#pragma once

#include <objbase.h>
#include <windows.h>

#include "runtime/win/scoped_generic.h"

namespace vexo::win {

// A block from GlobalAlloc, freed with GlobalFree.
using ScopedGlobalMemory = ScopedNullHandle<HGLOBAL, &::GlobalFree>;
// A block from CoTaskMemAlloc or a shell call that returns one (an item id list), freed with CoTaskMemFree.
using ScopedCoTaskMem = ScopedNullHandle<void*, &::CoTaskMemFree>;

// Releases a whole region that VirtualAlloc reserved or committed.
inline void ReleaseVirtualMemory(void* region) { ::VirtualFree(region, 0, MEM_RELEASE); }
// Pages from VirtualAlloc (the region's base address), released whole with VirtualFree.
using ScopedVirtualMemory = ScopedNullHandle<void*, &ReleaseVirtualMemory>;

// A global memory block locked with GlobalLock for the holder's lifetime; get() is null when locking failed.
class ScopedGlobalLock {
 public:
  explicit ScopedGlobalLock(HGLOBAL block) : block_(block), data_(::GlobalLock(block)) {}
  ~ScopedGlobalLock() { reset(); }
  ScopedGlobalLock(const ScopedGlobalLock&) = delete;
  ScopedGlobalLock& operator=(const ScopedGlobalLock&) = delete;

  void* get() const { return data_; }
  explicit operator bool() const { return data_ != nullptr; }
  void reset() {
    if (data_) ::GlobalUnlock(block_);
    data_ = nullptr;
  }

 private:
  HGLOBAL block_;
  void* data_;
};

}  // namespace vexo::win
