// Growth of a response body: one allocation when the length is announced, O(log n) otherwise, and never
// past the announced length while it holds.
#include "net/body_growth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

namespace vexo::net {
namespace {

TEST(BodyCapacitiesFor, ReservesTheAnnouncedLengthOnceOrGrowsByHalf) {
  struct Case {
    std::int64_t needed;
    std::int64_t held;
    std::int64_t announced;
    std::int64_t reserved;
    std::int64_t grown;
  };
  const Case cases[] = {
      {16384, 0, 100000000, 100000001, 24576},                      // announced and covering: reserved at once
      {100000000, 0, 100000000, 100000001, 100000001},              // the whole body in one piece
      {100, 0, -1, 0, kMinBodyCapacity},                            // unknown length, small body
      {1000000, 0, -1, 0, 1500000},                                 // unknown length: half again
      {300000, 0, 200000, 0, 450000},                               // decoded body outgrew its encoded length
      {16384, 0, kMaxReservedBytes + 1, 0, 24576},                  // too large an announcement is not reserved
      {16384, 0, kMaxReservedBytes, kMaxReservedBytes + 1, 24576},  // the largest reserved announcement
      {16384, 24576, 100000000, 0, 24576},                          // storage held: no second reservation
      {300000000, 200000000, 400000000, 0, 400000001},              // growth stops at the announcement
      {300000000, 200000000, 400000000000, 0, 450000000},           // ... which may lie far beyond
      {kMaxBodyBytes - 10, 0, -1, 0, kMaxBodyBytes + 1},            // growth stops at what a buffer can hold
      {kMaxBodyBytes, 0, -1, 0, kMaxBodyBytes + 1},
      {kMaxBodyBytes + 1, 0, -1, 0, 0},                             // cannot be held
      {kMaxBodyBytes + 1, 0, kMaxBodyBytes + 1, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "needed " << c.needed << ", held " << c.held << ", announced " << c.announced);
    const BodyCapacities capacities = BodyCapacitiesFor(c.needed, c.held, c.announced);
    EXPECT_EQ(capacities.reserved, c.reserved);
    EXPECT_EQ(capacities.grown, c.grown);
  }
}

// Appends `total` bytes in `piece`-byte writes the way the body collector does (the reservation when there
// is one and it can be had, else the growth) and counts allocations; `final_capacity` gets the last one.
int CountAllocations(std::int64_t total, std::int64_t piece, std::int64_t announced, bool reservation_fails,
                     std::int64_t* final_capacity = nullptr) {
  std::int64_t length = 0;
  std::int64_t capacity = 0;
  int allocations = 0;
  while (length < total) {
    std::int64_t needed = length + std::min(piece, total - length);
    if (needed > capacity) {
      const BodyCapacities capacities = BodyCapacitiesFor(needed, capacity, announced);
      const std::int64_t grown = capacities.reserved > 0 && !reservation_fails ? capacities.reserved : capacities.grown;
      EXPECT_GT(grown, needed);
      capacity = grown;
      ++allocations;
    }
    length = needed;
  }
  if (final_capacity != nullptr) *final_capacity = capacity;
  return allocations;
}

TEST(BodyCapacitiesFor, LargeBodiesCostFewAllocations) {
  const std::int64_t mb = 1000000;
  EXPECT_EQ(CountAllocations(200 * mb, 16384, 200 * mb, false), 1);
  EXPECT_EQ(CountAllocations(300 * mb, 16384, 300 * mb, false), 1);
  // Without an announced length: log base 1.5 of 200 MB / 16 KiB is about 23.
  EXPECT_LE(CountAllocations(200 * mb, 16384, -1, false), 25);
  EXPECT_LE(CountAllocations(20 * mb, 1, -1, false), 35);
  // An announcement smaller than the body (a compressed length) reserves once, then grows by half.
  EXPECT_LE(CountAllocations(200 * mb, 16384, 50 * mb, false), 5);
}

TEST(BodyCapacitiesFor, AFailedReservationGrowsByHalfAndEndsAtTheAnnouncedLength) {
  const std::int64_t mb = 1000000;
  std::int64_t capacity = 0;
  EXPECT_LE(CountAllocations(300 * mb, 16384, 300 * mb, true, &capacity), 25);
  EXPECT_EQ(capacity, 300 * mb + 1);
}

}  // namespace
}  // namespace vexo::net
