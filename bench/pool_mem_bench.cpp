// Throughput of the memory manager against the process heap and the C runtime's malloc, for small
// allocate/free work (16-256 bytes) on one and on two threads. Usage: pool_mem_bench [pairs-per-thread]
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "runtime/pool_mem.h"
#include "runtime/win/windows_api.h"

namespace {

constexpr int kSizeCount = 1024;
constexpr int kBatch = 64;
constexpr int kRepeats = 3;

struct PoolAllocator {
  CPoolMem pool;
  void* Alloc(std::size_t n) { return pool.Alloc(n); }
  void Free(void* p) { pool.Free(p); }
};

struct HeapAllocator {
  HANDLE heap = ::GetProcessHeap();
  void* Alloc(std::size_t n) { return ::HeapAlloc(heap, 0, n); }
  void Free(void* p) { ::HeapFree(heap, 0, p); }
};

struct MallocAllocator {
  void* Alloc(std::size_t n) { return std::malloc(n); }
  void Free(void* p) { std::free(p); }
};

// Keeps the compiler from dropping an allocation whose result is otherwise unused.
inline void Use(void* p) {
  static_cast<volatile char*>(p)[0] = 1;
  asm volatile("" : : "r"(p) : "memory");
}

std::vector<std::size_t> MakeSizes() {
  std::vector<std::size_t> sizes(kSizeCount);
  unsigned state = 12345;
  for (auto& size : sizes) {
    state = state * 1103515245u + 12345u;
    size = 16 + (state >> 8) % 241;  // 16..256
  }
  return sizes;
}

enum class Pattern { kPair, kBatch };

// kPair: one allocation immediately freed. kBatch: kBatch allocations, then their frees in the same order.
template <class A>
void Work(A& a, Pattern pattern, const std::vector<std::size_t>& sizes, long pairs) {
  if (pattern == Pattern::kPair) {
    for (long i = 0; i < pairs; ++i) {
      void* p = a.Alloc(sizes[i & (kSizeCount - 1)]);
      Use(p);
      a.Free(p);
    }
    return;
  }
  void* held[kBatch];
  for (long done = 0; done < pairs; done += kBatch) {
    for (int j = 0; j < kBatch; ++j) {
      held[j] = a.Alloc(sizes[(done + j) & (kSizeCount - 1)]);
      Use(held[j]);
    }
    for (int j = 0; j < kBatch; ++j) a.Free(held[j]);
  }
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Best of kRepeats runs: allocate/free pairs per second over all threads (sharing one allocator).
template <class A>
double Measure(A& a, Pattern pattern, int threads, long pairs_per_thread) {
  const std::vector<std::size_t> sizes = MakeSizes();
  double best = 0;
  for (int r = 0; r < kRepeats; ++r) {
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    ::QueryPerformanceCounter(&start);
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
      workers.emplace_back([&] { Work(a, pattern, sizes, pairs_per_thread); });
    }
    for (auto& w : workers) w.join();
    ::QueryPerformanceCounter(&end);
    double rate = static_cast<double>(pairs_per_thread) * threads / Seconds(start, end);
    if (rate > best) best = rate;
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  long pairs = argc > 1 ? std::atol(argv[1]) : 2000000;
  if (pairs < kBatch) pairs = kBatch;
  pairs -= pairs % kBatch;

  PoolAllocator pool;
  HeapAllocator heap;
  MallocAllocator c_runtime;
  const struct {
    const char* name;
    Pattern pattern;
  } patterns[] = {{"pair", Pattern::kPair}, {"batch64", Pattern::kBatch}};

  std::printf("allocate/free pairs of 16-256 bytes, %ld pairs per thread, best of %d runs\n", pairs, kRepeats);
  std::printf("%-8s %-7s %14s %14s %14s %10s %11s\n", "pattern", "threads", "CPoolMem/s", "HeapAlloc/s",
              "malloc/s", "pool/heap", "pool/malloc");
  for (const auto& p : patterns) {
    for (int threads : {1, 2}) {
      double pool_rate = Measure(pool, p.pattern, threads, pairs);
      double heap_rate = Measure(heap, p.pattern, threads, pairs);
      double malloc_rate = Measure(c_runtime, p.pattern, threads, pairs);
      std::printf("%-8s %-7d %14.0f %14.0f %14.0f %10.2f %11.2f\n", p.name, threads, pool_rate, heap_rate,
                  malloc_rate, pool_rate / heap_rate, pool_rate / malloc_rate);
    }
  }
  return 0;
}
