#include "tests/ui/allocation_watch.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>

namespace vexo::ui_test {
namespace {

constexpr int kCapacity = 4096;

// The watch's state, plain data so that it works before and after every constructor of the program.
struct WatchState {
  std::atomic_flag lock = ATOMIC_FLAG_INIT;
  std::size_t size = 0;  // 0: not watching
  std::size_t fail_size = 0;
  int made = 0;
  int double_frees = 0;
  int live_count = 0;
  void* live[kCapacity] = {};
  int freed_count = 0;
  void* freed[kCapacity] = {};
};
WatchState state;

class Hold {
 public:
  Hold() {
    while (state.lock.test_and_set(std::memory_order_acquire)) {
    }
  }
  ~Hold() { state.lock.clear(std::memory_order_release); }
};

// Removes `block` from `list`; whether it was there.
bool Take(void** list, int& count, void* block) {
  void** end = list + count;
  void** found = std::find(list, end, block);
  if (found == end) return false;
  *found = list[--count];
  return true;
}

void Put(void** list, int& count, void* block) {
  if (count < kCapacity) list[count++] = block;
}

}  // namespace

AllocationWatch::AllocationWatch(std::size_t size) {
  Hold hold;
  state.size = size;
  state.made = state.double_frees = state.live_count = state.freed_count = 0;
}

AllocationWatch::~AllocationWatch() {
  Hold hold;
  state.size = 0;
}

int AllocationWatch::Made() const { return state.made; }
int AllocationWatch::Live() const { return state.live_count; }
int AllocationWatch::DoubleFrees() const { return state.double_frees; }

void FailNextAllocationOf(std::size_t size) {
  Hold hold;
  state.fail_size = size;
}

}  // namespace vexo::ui_test

using vexo::ui_test::state;

void* operator new(std::size_t size) {
  {
    vexo::ui_test::Hold hold;
    if (state.fail_size != 0 && size == state.fail_size) {
      state.fail_size = 0;
      throw std::bad_alloc();
    }
  }
  void* block = std::malloc(size != 0 ? size : 1);
  if (block == nullptr) throw std::bad_alloc();
  vexo::ui_test::Hold hold;
  if (state.size == 0) return block;
  // The address is in use again, whatever its size.
  vexo::ui_test::Take(state.freed, state.freed_count, block);
  if (size == state.size) {
    ++state.made;
    vexo::ui_test::Put(state.live, state.live_count, block);
  }
  return block;
}

void operator delete(void* block) noexcept {
  if (block == nullptr) return;
  {
    vexo::ui_test::Hold hold;
    if (state.size != 0) {
      if (vexo::ui_test::Take(state.live, state.live_count, block)) {
        vexo::ui_test::Put(state.freed, state.freed_count, block);
      } else if (vexo::ui_test::Take(state.freed, state.freed_count, block)) {
        ++state.double_frees;
        vexo::ui_test::Put(state.freed, state.freed_count, block);
        return;
      }
    }
  }
  std::free(block);
}

void operator delete(void* block, std::size_t) noexcept { operator delete(block); }
