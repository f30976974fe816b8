// The memory manager: pool/heap boundary, exhaustion and reuse, reallocation, and concurrent use.
#include "runtime/pool_mem.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <set>
#include <thread>
#include <vector>

#include "runtime/win/windows_api.h"
#include "tests/support/unobtainable_memory.h"

namespace {

bool IsHeapArea(void* pointer) { return ::HeapSize(::GetProcessHeap(), 0, pointer) != static_cast<SIZE_T>(-1); }

// Takes every block of a fresh pool; the blocks come in ascending address order.
std::vector<void*> TakeAllBlocks(CPoolMem& pool) {
  std::vector<void*> blocks;
  for (int i = 0; i < CPoolMem::kBlockCount; ++i) blocks.push_back(pool.Alloc(1));
  return blocks;
}

TEST(PoolMem, RequestsUpTo256BytesAreServedFromThePool) {
  CPoolMem pool;
  const struct {
    std::size_t size;
    bool pooled;
  } cases[] = {{0, true}, {1, true}, {255, true}, {256, true}, {257, false}, {4096, false}};
  for (const auto& c : cases) {
    void* p = pool.Alloc(c.size);
    ASSERT_NE(p, nullptr) << c.size;
    EXPECT_EQ(pool.IsPoolPointer(p), c.pooled) << c.size;
    if (!c.pooled) {
      EXPECT_GE(::HeapSize(::GetProcessHeap(), 0, p), c.size);
    }
    pool.Free(p);
  }
}

TEST(PoolMem, BlocksAreHandedOutInAscendingOrderAcrossThe8MiBRegion) {
  CPoolMem pool;
  std::vector<void*> blocks = TakeAllBlocks(pool);
  for (int i = 1; i < CPoolMem::kBlockCount; ++i) {
    ASSERT_EQ(static_cast<char*>(blocks[i]) - static_cast<char*>(blocks[i - 1]), CPoolMem::kBlockSize) << i;
  }
  EXPECT_EQ(static_cast<char*>(blocks.back()) + CPoolMem::kBlockSize - static_cast<char*>(blocks.front()),
            static_cast<std::ptrdiff_t>(CPoolMem::kRegionSize));
  EXPECT_TRUE(pool.IsPoolPointer(blocks.back()));
  EXPECT_FALSE(pool.IsPoolPointer(static_cast<char*>(blocks.back()) + CPoolMem::kBlockSize));
  for (void* b : blocks) pool.Free(b);
}

TEST(PoolMem, ExhaustedPoolFallsBackToTheHeapAndReusesFreedBlocksLastInFirstOut) {
  CPoolMem pool;
  std::vector<void*> blocks = TakeAllBlocks(pool);

  void* overflow = pool.Alloc(16);
  EXPECT_FALSE(pool.IsPoolPointer(overflow));
  EXPECT_TRUE(IsHeapArea(overflow));

  pool.Free(blocks[100]);
  pool.Free(blocks[7]);
  EXPECT_EQ(pool.Alloc(16), blocks[7]);
  EXPECT_EQ(pool.Alloc(200), blocks[100]);
  EXPECT_FALSE(pool.IsPoolPointer(pool.Alloc(16))) << "empty again";

  // Freeing a heap area leaves the free list alone.
  pool.Free(blocks[3]);
  pool.Free(overflow);
  EXPECT_EQ(pool.Alloc(16), blocks[3]);
}

TEST(PoolMem, ReturnedBlocksComeBeforeUnusedOnesAndEveryBlockIsHandedOutOnce) {
  CPoolMem pool;
  char* a = static_cast<char*>(pool.Alloc(8));
  char* b = static_cast<char*>(pool.Alloc(8));
  char* c = static_cast<char*>(pool.Alloc(8));
  ASSERT_EQ(b - a, CPoolMem::kBlockSize);
  ASSERT_EQ(c - b, CPoolMem::kBlockSize);

  pool.Free(b);
  EXPECT_EQ(pool.Alloc(8), b);
  EXPECT_EQ(pool.Alloc(8), c + CPoolMem::kBlockSize) << "with nothing returned, the next unused block";
  pool.Free(a);
  pool.Free(c);
  EXPECT_EQ(pool.Alloc(8), c);
  EXPECT_EQ(pool.Alloc(8), a);
  EXPECT_EQ(pool.Alloc(8), c + 2 * CPoolMem::kBlockSize) << "unused blocks resume where they stopped";

  // Five blocks are out; the pool holds exactly the rest, each once, before it falls back to the heap.
  std::set<void*> held = {a, b, c, c + CPoolMem::kBlockSize, c + 2 * CPoolMem::kBlockSize};
  for (;;) {
    void* p = pool.Alloc(8);
    if (!pool.IsPoolPointer(p)) {
      pool.Free(p);
      break;
    }
    ASSERT_TRUE(held.insert(p).second) << "handed out twice: " << p;
  }
  EXPECT_EQ(held.size(), static_cast<std::size_t>(CPoolMem::kBlockCount));
  for (void* p : held) pool.Free(p);
}

TEST(PoolMem, ReallocKeepsABlockWhileItFits) {
  CPoolMem pool;
  void* block = pool.Alloc(100);
  ASSERT_TRUE(pool.IsPoolPointer(block));
  EXPECT_EQ(pool.Realloc(block, 200), block);
  EXPECT_EQ(pool.Realloc(block, 256), block);
  pool.Free(block);
}

TEST(PoolMem, ReallocBeyondABlockMovesAll256BytesToTheHeapAndFreesTheBlock) {
  CPoolMem pool;
  auto* block = static_cast<unsigned char*>(pool.Alloc(100));
  for (int i = 0; i < CPoolMem::kBlockSize; ++i) block[i] = static_cast<unsigned char>(i);

  auto* area = static_cast<unsigned char*>(pool.Realloc(block, 300));
  ASSERT_NE(area, nullptr);
  EXPECT_FALSE(pool.IsPoolPointer(area));
  EXPECT_GE(::HeapSize(::GetProcessHeap(), 0, area), 300u);
  for (int i = 0; i < CPoolMem::kBlockSize; ++i) ASSERT_EQ(area[i], i) << i;

  EXPECT_EQ(pool.Alloc(16), block) << "the block went back on the list";
  pool.Free(block);
  pool.Free(area);
}

TEST(PoolMem, ReallocOfAHeapAreaStaysOnTheHeapAndKeepsItsBytes) {
  CPoolMem pool;
  auto* area = static_cast<char*>(pool.Alloc(1000));
  std::memset(area, 'x', 1000);
  for (std::size_t size : {5000u, 100u}) {
    area = static_cast<char*>(pool.Realloc(area, size));
    ASSERT_NE(area, nullptr);
    EXPECT_FALSE(pool.IsPoolPointer(area)) << size;
    EXPECT_EQ(area[0], 'x');
    EXPECT_EQ(area[99], 'x');
  }
  pool.Free(area);
}

TEST(PoolMem, NullPointersAreHarmless) {
  CPoolMem pool;
  pool.Free(nullptr);
  void* p = pool.Realloc(nullptr, 32);
  EXPECT_TRUE(pool.IsPoolPointer(p));
  EXPECT_EQ(pool.Alloc(32), static_cast<char*>(p) + CPoolMem::kBlockSize) << "the list is intact";
}

TEST(PoolMem, HeapFailureIsReportedAsNull) {
  CPoolMem pool;
  EXPECT_EQ(pool.Alloc(vexo::test::kUnobtainableBytes), nullptr);
  void* block = pool.Alloc(16);
  EXPECT_EQ(pool.Realloc(block, vexo::test::kUnobtainableBytes), nullptr);
  EXPECT_TRUE(pool.IsPoolPointer(block));
  EXPECT_NE(pool.Alloc(16), block) << "a block whose move failed stays in use";
}

TEST(PoolMem, TwoThreadsNeverHoldTheSameBlock) {
  CPoolMem pool;
  // Who holds each block: 0 for nobody, else the thread's number. A block handed out twice is caught by
  // the exchange below, and by the stamp its holder wrote over the whole block.
  auto owners = std::make_unique<std::atomic<int>[]>(CPoolMem::kBlockCount);
  char* base = static_cast<char*>(pool.Alloc(1));
  pool.Free(base);
  std::atomic<int> duplicates{0};

  auto work = [&](int me) {
    std::vector<char*> held;
    for (int round = 0; round < 2000; ++round) {
      for (int i = 0; i < 48; ++i) {
        auto* p = static_cast<char*>(pool.Alloc(static_cast<std::size_t>(16 + (round + i) % 241)));
        if (!pool.IsPoolPointer(p)) {
          pool.Free(p);
          continue;
        }
        int expected = 0;
        if (!owners[(p - base) / CPoolMem::kBlockSize].compare_exchange_strong(expected, me)) ++duplicates;
        std::memset(p, me, CPoolMem::kBlockSize);
        held.push_back(p);
      }
      for (char* p : held) {
        for (int i = 0; i < CPoolMem::kBlockSize; ++i) {
          if (p[i] != me) {
            ++duplicates;
            break;
          }
        }
        owners[(p - base) / CPoolMem::kBlockSize].store(0);
        pool.Free(p);
      }
      held.clear();
    }
  };
  std::thread a(work, 1);
  std::thread b(work, 2);
  a.join();
  b.join();
  EXPECT_EQ(duplicates.load(), 0);
}

}  // namespace
