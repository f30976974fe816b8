// The binary stream: native little-endian values and the sticky error state.
#include "runtime/binary_stream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using vexo::BinaryStream;
using vexo::MemoryStream;

TEST(BinaryStream, ValuesTravelInNativeLittleEndianWidth) {
  MemoryStream stream;
  ASSERT_TRUE(stream.WriteValue<std::int32_t>(0x01020304));
  ASSERT_TRUE(stream.WriteValue<std::int16_t>(-2));
  ASSERT_TRUE(stream.WriteValue<double>(1.5));
  const std::vector<std::uint8_t> expected = {0x04, 0x03, 0x02, 0x01, 0xFE, 0xFF, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F};
  EXPECT_EQ(stream.GetBytes(), expected);

  std::int32_t i = 0;
  std::int16_t s = 0;
  double d = 0;
  EXPECT_TRUE(stream.ReadValue(i) && stream.ReadValue(s) && stream.ReadValue(d));
  EXPECT_EQ(i, 0x01020304);
  EXPECT_EQ(s, -2);
  EXPECT_EQ(d, 1.5);
  EXPECT_EQ(stream.GetError(), 0);
}

TEST(BinaryStream, ShortReadFailsTheStreamForGood) {
  MemoryStream stream(std::vector<std::uint8_t>{1, 2, 3});
  std::int32_t value = 0;
  EXPECT_FALSE(stream.ReadValue(value));
  EXPECT_EQ(stream.GetError(), BinaryStream::kShortRead);

  // Once failed, nothing moves: not a read that would now fit, not a write.
  MemoryStream refilled(std::vector<std::uint8_t>{1, 2, 3, 4});
  std::uint8_t byte = 0;
  ASSERT_TRUE(refilled.ReadValue(byte));
  EXPECT_FALSE(refilled.ReadValue(value));
  EXPECT_FALSE(refilled.ReadValue(byte));
  EXPECT_FALSE(refilled.WriteValue(byte));
  EXPECT_EQ(refilled.GetError(), BinaryStream::kShortRead);
  EXPECT_EQ(refilled.GetBytes().size(), 4u);
}

TEST(BinaryStream, IncompleteWriteFailsTheStreamForGood) {
  MemoryStream stream(6);
  EXPECT_TRUE(stream.WriteValue<std::int32_t>(7));
  EXPECT_FALSE(stream.WriteValue<std::int32_t>(8));
  EXPECT_EQ(stream.GetError(), BinaryStream::kFailedWrite);
  EXPECT_FALSE(stream.WriteValue<std::uint8_t>(1)) << "would fit, but the stream has failed";
  std::int32_t value = 0;
  EXPECT_FALSE(stream.ReadValue(value));
  EXPECT_EQ(stream.GetError(), BinaryStream::kFailedWrite) << "the first error stays";
  EXPECT_EQ(stream.GetBytes().size(), 6u);
}

}  // namespace
