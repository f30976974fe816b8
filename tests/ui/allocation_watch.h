// Watches the test program's global operator new and delete (replaced by allocation_watch.cpp with
// malloc-based ones) for blocks of one size: how many are made and still live, and frees of a block
// already freed. Also makes the next allocation of a given size fail.
#pragma once

#include <cstddef>

namespace vexo::ui_test {

// Watches blocks of `size` bytes from construction to destruction. One watch at a time, on one thread.
class AllocationWatch {
 public:
  explicit AllocationWatch(std::size_t size);
  ~AllocationWatch();
  AllocationWatch(const AllocationWatch&) = delete;
  AllocationWatch& operator=(const AllocationWatch&) = delete;

  // Blocks of the size made since the watch began.
  int Made() const;
  // Of those, the ones not freed yet.
  int Live() const;
  // Frees of a watched block that had been freed already (the second free is not passed on).
  int DoubleFrees() const;
};

// The next allocation of `size` bytes with the global operator new throws std::bad_alloc.
void FailNextAllocationOf(std::size_t size);

}  // namespace vexo::ui_test
