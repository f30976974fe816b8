// The body collector: stores what libcurl delivers, drops it for a null-object buffer, grows large bodies
// with few reallocations while leaving the buffer's own growth step alone, fails a block for which no
// memory can be had instead of ending the process, and hands bodies with a sink to the sink.
#include "net/body_collector.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/net/recording_sink.h"
#include "tests/support/unobtainable_memory.h"

namespace vexo::net {
namespace {

std::size_t Deliver(BodyTarget& target, std::string bytes) {
  return CollectBody(bytes.data(), 1, bytes.size(), &target);
}

TEST(CollectBody, AppendsEveryBlockInOrder) {
  CPelMem body;
  BodyTarget target{&body, nullptr};
  EXPECT_EQ(Deliver(target, "hello "), 6u);
  EXPECT_EQ(CollectBody(const_cast<char*>("wor"), 3, 1, &target), 3u);  // size x count
  EXPECT_EQ(Deliver(target, "ld"), 2u);
  ASSERT_EQ(body.GetLength(), 11);
  EXPECT_EQ(std::string(static_cast<const char*>(body.GetData()), 11), "hello world");
  EXPECT_EQ(body.GetStep(), CPelMem::kDefaultStep);
}

TEST(CollectBody, NullDataAppendsZeros) {
  CPelMem body;
  BodyTarget target{&body, nullptr};
  EXPECT_EQ(CollectBody(nullptr, 1, 4, &target), 4u);
  ASSERT_EQ(body.GetLength(), 4);
  EXPECT_EQ(std::memcmp(body.GetData(), "\0\0\0\0", 4), 0);
}

TEST(CollectBody, ANullObjectBufferOrNoTargetConsumesEverythingAndStoresNothing) {
  CPelMem body = MakeNullObject<CPelMem>();
  BodyTarget target{&body, nullptr};
  EXPECT_EQ(Deliver(target, "ignored"), 7u);
  EXPECT_EQ(body.GetLength(), 0);
  EXPECT_EQ(CollectBody(const_cast<char*>("x"), 1, 1, nullptr), 1u);
}

TEST(CollectBody, TwoHundredMegabytesCostFewReallocationsAndKeepTheStep) {
  const std::int32_t total = 200 * 1000 * 1000;
  std::string piece(16384, 'x');
  CPelMem body;
  BodyTarget target{&body, nullptr};
  int reallocations = 0;
  std::int32_t capacity = 0;
  for (std::int32_t done = 0; done < total; done += static_cast<std::int32_t>(piece.size())) {
    ASSERT_EQ(CollectBody(piece.data(), 1, piece.size(), &target), piece.size());
    if (body.GetCapacity() != capacity) {
      capacity = body.GetCapacity();
      ++reallocations;
    }
  }
  EXPECT_GE(body.GetLength(), total);
  EXPECT_LE(reallocations, 25) << "geometric growth, not one step at a time";
  EXPECT_EQ(body.GetStep(), CPelMem::kDefaultStep);
}

TEST(CollectBody, ABlockForWhichNoMemoryCanBeHadFailsAndTheBodyKeepsWhatItHad) {
  CPelMem body;
  BodyTarget target{&body, nullptr};
  ASSERT_EQ(Deliver(target, "abc"), 3u);
  const std::int32_t capacity = body.GetCapacity();
  // Growth to 1.5 GB and half again, which no 32-bit process has; the block is never read.
  if (!vexo::test::kThirtyTwoBitLengthsCanExhaustMemory) GTEST_SKIP() << "a 64-bit process gets 2 GiB";
  char block[1] = {'x'};
  EXPECT_EQ(CollectBody(block, 1, 1500000000, &target), 0u);
  EXPECT_EQ(std::string(static_cast<const char*>(body.GetData()), body.GetLength()), "abc");
  EXPECT_EQ(body.GetCapacity(), capacity);
  EXPECT_EQ(Deliver(target, "def"), 3u) << "smaller blocks still fit";
}

TEST(CollectBody, WithASinkTheBytesGoToTheSinkAndItsRefusalFailsTheBlock) {
  CPelMem body;
  vexo::test::RecordingSink sink(8);
  BodyTarget target{&body, nullptr, &sink};
  EXPECT_EQ(Deliver(target, "12345"), 5u);
  EXPECT_EQ(Deliver(target, ""), 0u);
  EXPECT_EQ(sink.calls, 1) << "an empty block is not passed on";
  EXPECT_EQ(Deliver(target, "6789"), 0u) << "refused";
  EXPECT_EQ(CollectBody(nullptr, 1, 2, &target), 0u) << "null data cannot be passed on";
  EXPECT_EQ(sink.bytes, "12345");
  EXPECT_EQ(body.GetLength(), 0);
  EXPECT_EQ(body.GetCapacity(), 0);
}

}  // namespace
}  // namespace vexo::net
