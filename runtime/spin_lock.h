// The runtime's spin lock: one 32-bit word, 1 when free, taken by the thread whose decrement yields 0.
#pragma once

#include <atomic>
#include <cstdint>

namespace vexo {

// Guards very short critical sections (a list pop or push). Not recursive; never held across a call that
// may block. Layout is exactly one 32-bit word so it can sit inside fixed-layout records.
class SpinLock {
 public:
  SpinLock() = default;
  SpinLock(const SpinLock&) = delete;
  SpinLock& operator=(const SpinLock&) = delete;

  // Takes the lock, spinning with a pause instruction while another thread holds it.
  void Acquire() {
    while (word_.fetch_sub(1, std::memory_order_acquire) != 1) {
      while (word_.load(std::memory_order_relaxed) <= 0) __builtin_ia32_pause();
    }
  }
  // Gives the lock back; also clears the negative count that waiting threads left behind.
  void Release() { word_.store(1, std::memory_order_release); }

 private:
  std::atomic<std::int32_t> word_{1};
};

// Holds a SpinLock for the scope of the guard.
class SpinLockGuard {
 public:
  explicit SpinLockGuard(SpinLock& lock) : lock_(lock) { lock_.Acquire(); }
  ~SpinLockGuard() { lock_.Release(); }
  SpinLockGuard(const SpinLockGuard&) = delete;
  SpinLockGuard& operator=(const SpinLockGuard&) = delete;

 private:
  SpinLock& lock_;
};

}  // namespace vexo
