#include "runtime/pool_mem.h"

#include <cstdlib>
#include <cstring>

#include "runtime/win/windows_api.h"

namespace {

// A free block keeps the address of the next free block in its first word.
void*& NextFreeBlock(void* block) { return *static_cast<void**>(block); }

}  // namespace

CPoolMem::CPoolMem() {
  void* region = ::HeapAlloc(::GetProcessHeap(), 0, kRegionSize);
  if (region == nullptr) std::exit(-1);
  region_start_ = static_cast<char*>(region);
  region_end_ = region_start_ + kRegionSize;
  next_unused_ = region_start_;
}

CPoolMem::~CPoolMem() { ::HeapFree(::GetProcessHeap(), 0, region_start_); }

void* CPoolMem::Alloc(std::size_t size) {
  if (size <= static_cast<std::size_t>(block_size_)) {
    if (void* block = PopBlock()) return block;
  }
  return ::HeapAlloc(::GetProcessHeap(), 0, size);
}

void* CPoolMem::Realloc(void* pointer, std::size_t size) {
  if (pointer == nullptr) return Alloc(size);
  if (!IsPoolPointer(pointer)) return ::HeapReAlloc(::GetProcessHeap(), 0, pointer, size);
  if (size <= static_cast<std::size_t>(block_size_)) return pointer;
  void* area = ::HeapAlloc(::GetProcessHeap(), 0, size);
  if (area == nullptr) return nullptr;
  std::memcpy(area, pointer, block_size_);
  PushBlock(pointer);
  return area;
}

void CPoolMem::Free(void* pointer) {
  if (pointer == nullptr) return;
  if (IsPoolPointer(pointer)) {
    PushBlock(pointer);
  } else {
    ::HeapFree(::GetProcessHeap(), 0, pointer);
  }
}

bool CPoolMem::IsPoolPointer(const void* pointer) const {
  const char* p = static_cast<const char*>(pointer);
  return p >= region_start_ && p < region_end_;
}

void* CPoolMem::PopBlock() {
  vexo::SpinLockGuard guard(lock_);
  void* block = free_head_;
  if (block != nullptr) {
    free_head_ = NextFreeBlock(block);
  } else if (next_unused_ != region_end_) {
    block = next_unused_;
    next_unused_ += block_size_;
  }
  return block;
}

void CPoolMem::PushBlock(void* block) {
  vexo::SpinLockGuard guard(lock_);
  NextFreeBlock(block) = free_head_;
  free_head_ = block;
}
