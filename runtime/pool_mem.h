// The process's memory manager: 256-byte blocks from one 8 MiB region, larger requests from the process heap.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/spin_lock.h"

// One instance lives in the application instance; every runtime allocation goes through it. Pool blocks
// carry no header: the region bounds alone tell a pool block from a heap area. Safe for concurrent use.
class CPoolMem {
 public:
  static constexpr std::int32_t kBlockSize = 0x100;
  static constexpr std::int32_t kBlockCount = 32768;
  static constexpr std::size_t kRegionSize = 0x800000;

  // Takes the region from the process heap. Its blocks are handed out in ascending order the first time
  // round, from a carving pointer, so set-up touches none of the region's pages. Ends the process with
  // exit code -1 when the heap cannot supply the region.
  CPoolMem();
  // Returns the region to the process heap; pool blocks still held by callers must no longer be used.
  virtual ~CPoolMem();
  CPoolMem(const CPoolMem&) = delete;
  CPoolMem& operator=(const CPoolMem&) = delete;

  // A block when size <= kBlockSize and one is free, else a process-heap area of `size` bytes; null when
  // the heap fails. The caller owns the result and gives it back with Free.
  void* Alloc(std::size_t size);
  // Resizes `pointer` (null: same as Alloc). A pool block stays put while size fits a block; otherwise
  // its 256 bytes move to a new heap area and the block is freed. Null when the heap fails, with the old
  // memory left untouched and still owned by the caller.
  void* Realloc(void* pointer, std::size_t size);
  // Gives back memory from Alloc or Realloc: blocks go back on the free list, other pointers to the
  // process heap. Null is ignored.
  void Free(void* pointer);

  // Whether `pointer` lies inside the block region (a pool block rather than a heap area).
  bool IsPoolPointer(const void* pointer) const;

 private:
  void* PopBlock();
  void PushBlock(void* block);

  char* region_start_ = nullptr;
  char* region_end_ = nullptr;
  void* free_head_ = nullptr;
  std::int32_t block_size_ = kBlockSize;
  vexo::SpinLock lock_;
  // The lowest block never handed out yet; region end once every block has been. The free list holds
  // only blocks that came back, so it is taken first: freed blocks are reused last in, first out.
  char* next_unused_ = nullptr;
};

static_assert(sizeof(CPoolMem) == 5 * sizeof(void*) + 8,
              "virtual table, region start and end, free list head, block size, lock, carving pointer");
