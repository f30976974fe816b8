// Growth of a response body: one allocation when the length is announced, O(log n) otherwise.
#include "net/body_growth.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace vexo::net {
namespace {

TEST(BodyCapacityFor, ChoosesTheAnnouncedLengthOrGrowsByHalf) {
  struct Case {
    std::int64_t needed;
    std::int64_t announced;
    std::int64_t capacity;
  };
  const Case cases[] = {
      {16384, 100000000, 100000001},                      // announced and covering: reserved at once
      {100000000, 100000000, 100000001},                  // the whole body in one piece
      {100, -1, kMinBodyCapacity},                        // unknown length, small body
      {1000000, -1, 1500000},                             // unknown length: half again
      {300000, 200000, 450000},                           // decoded body outgrew its encoded length
      {16384, kMaxReservedBytes + 1, 24576},              // too large an announcement is not reserved
      {16384, kMaxReservedBytes, kMaxReservedBytes + 1},  // the largest reserved announcement
      {kMaxBodyBytes - 10, -1, kMaxBodyBytes + 1},        // growth stops at what a buffer can hold
      {kMaxBodyBytes, -1, kMaxBodyBytes + 1},
      {kMaxBodyBytes + 1, -1, 0},                         // cannot be held
      {kMaxBodyBytes + 1, kMaxBodyBytes + 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "needed " << c.needed << ", announced " << c.announced);
    EXPECT_EQ(BodyCapacityFor(c.needed, c.announced), c.capacity);
  }
}

// Appends `total` bytes in `piece`-byte writes the way the body collector does and counts reallocations.
int CountReallocations(std::int64_t total, std::int64_t piece, std::int64_t announced) {
  std::int64_t length = 0;
  std::int64_t capacity = 0;
  int reallocations = 0;
  while (length < total) {
    std::int64_t needed = length + std::min(piece, total - length);
    if (needed > capacity) {
      std::int64_t grown = BodyCapacityFor(needed, announced);
      EXPECT_GT(grown, needed);
      capacity = grown;
      ++reallocations;
    }
    length = needed;
  }
  return reallocations;
}

TEST(BodyCapacityFor, LargeBodiesCostFewReallocations) {
  const std::int64_t mb = 1000000;
  EXPECT_EQ(CountReallocations(200 * mb, 16384, 200 * mb), 1);
  EXPECT_EQ(CountReallocations(300 * mb, 16384, 300 * mb), 1);
  // Without an announced length: log base 1.5 of 200 MB / 16 KiB is about 23.
  EXPECT_LE(CountReallocations(200 * mb, 16384, -1), 25);
  EXPECT_LE(CountReallocations(20 * mb, 1, -1), 35);
  // An announcement smaller than the body (a compressed length) reserves once, then grows by half.
  EXPECT_LE(CountReallocations(200 * mb, 16384, 50 * mb), 5);
}

}  // namespace
}  // namespace vexo::net
