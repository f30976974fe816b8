// The spin lock: mutual exclusion between threads.
#include "runtime/spin_lock.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

TEST(SpinLock, ExcludesOtherThreadsFromTheGuardedSection) {
  vexo::SpinLock lock;
  // A plain read-modify-write in two steps: without exclusion, increments get lost.
  volatile long counter = 0;
  constexpr int kPerThread = 200000;
  auto work = [&] {
    for (int i = 0; i < kPerThread; ++i) {
      vexo::SpinLockGuard guard(lock);
      long value = counter;
      counter = value + 1;
    }
  };
  std::thread a(work);
  std::thread b(work);
  a.join();
  b.join();
  EXPECT_EQ(counter, 2L * kPerThread);
}

TEST(SpinLock, IsOneFreeWordThatCanBeTakenAgainAfterRelease) {
  static_assert(sizeof(vexo::SpinLock) == 4);
  vexo::SpinLock lock;
  lock.Acquire();
  lock.Release();
  lock.Acquire();
  lock.Release();
}

}  // namespace
