// Holders for clipboard work: the open clipboard, movable global memory and a lock on such memory.
#pragma once

#include <windows.h>

#include "runtime/win/scoped_generic.h"

namespace vexo::win {

struct GlobalMemoryTraits {
  static HGLOBAL InvalidValue() { return nullptr; }
  static bool IsValid(HGLOBAL memory) { return memory != nullptr; }
  static void Free(HGLOBAL memory) { ::GlobalFree(memory); }
};

// Memory from GlobalAlloc, freed with GlobalFree unless released (e.g. to SetClipboardData).
using ScopedGlobalMemory = ScopedGeneric<HGLOBAL, GlobalMemoryTraits>;

// The clipboard, opened for `owner` for the holder's lifetime; check is_open().
class ScopedClipboard {
 public:
  explicit ScopedClipboard(HWND owner) : open_(::OpenClipboard(owner) != FALSE) {}
  ~ScopedClipboard() {
    if (open_) ::CloseClipboard();
  }
  ScopedClipboard(const ScopedClipboard&) = delete;
  ScopedClipboard& operator=(const ScopedClipboard&) = delete;

  bool is_open() const { return open_; }

 private:
  bool open_;
};

// A lock on global memory (GlobalLock), undone when the holder goes; get() is null when it failed.
class ScopedGlobalLock {
 public:
  explicit ScopedGlobalLock(HGLOBAL memory) : memory_(memory), data_(memory ? ::GlobalLock(memory) : nullptr) {}
  ~ScopedGlobalLock() {
    if (data_) ::GlobalUnlock(memory_);
  }
  ScopedGlobalLock(const ScopedGlobalLock&) = delete;
  ScopedGlobalLock& operator=(const ScopedGlobalLock&) = delete;

  void* get() const { return data_; }
  SIZE_T size() const { return ::GlobalSize(memory_); }

 private:
  HGLOBAL memory_;
  void* data_;
};

}  // namespace vexo::win
