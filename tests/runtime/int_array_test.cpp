// The integer array: values in 4-byte slots, copies, equality through the storage, dump and binary form.
#include "runtime/int_array.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/binary_stream.h"
#include "runtime/w_string.h"

namespace {

using rg_Pelor_JiBen::rg_BianZhengShuShuZuLei;
using vexo::BinaryStream;
using vexo::MemoryStream;
using Bytes = std::vector<std::uint8_t>;

rg_BianZhengShuShuZuLei ArrayOf(std::initializer_list<std::intptr_t> values) {
  rg_BianZhengShuShuZuLei array;
  for (std::intptr_t value : values) array.Add(value);
  return array;
}

TEST(IntArray, HoldsValuesInOrderAndAnswersZeroOutOfRange) {
  const rg_BianZhengShuShuZuLei array = ArrayOf({5, -1, 0x7FFFFFFF});
  ASSERT_EQ(array.GetCount(), 3);
  EXPECT_EQ(array.GetAt(0), 5);
  EXPECT_EQ(array.GetAt(1), -1);
  EXPECT_EQ(array.GetAt(2), 0x7FFFFFFF);
  EXPECT_EQ(array.GetAt(3), 0);
  EXPECT_EQ(array.GetAt(-1), 0);
}

TEST(IntArray, CopiesAndEqualityFollowTheStorage) {
  const rg_BianZhengShuShuZuLei original = ArrayOf({1, 2, 3});
  CPelObject* clone = original.Clone();
  EXPECT_TRUE(clone->IsEqual(original));
  clone->Release();
  EXPECT_FALSE(original.IsEqual(ArrayOf({1, 2})));
  EXPECT_FALSE(original.IsEqual(ArrayOf({1, 2, 4})));

  rg_BianZhengShuShuZuLei target = ArrayOf({9});
  target.SetNullObject(true);
  ASSERT_TRUE(target.CopyFrom(original));
  EXPECT_TRUE(target.IsEqual(original));
  EXPECT_FALSE(target.CopyFrom(CWString(L"1 2 3")));
  target.Reset();
  EXPECT_EQ(target.GetCount(), 0);
}

TEST(IntArray, DumpListsNumberedValues) {
  CWString output;
  ArrayOf({7, -8, 9}).DumpTo(output, 2);
  EXPECT_STREQ(output.GetText(), L"<数组> 总共 3 个成员,输出了 2 个,还有 1 个未被输出.\r\n1. 7\r\n2. -8");
}

TEST(IntArray, BinaryFormIsTheStoragesByteLengthAndBytes) {
  MemoryStream stream;
  ArrayOf({1, -2}).SaveTo(stream);
  EXPECT_EQ(stream.GetBytes(), (Bytes{8, 0, 0, 0, 1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF}));
  rg_BianZhengShuShuZuLei loaded = ArrayOf({4, 5, 6});
  loaded.LoadFrom(stream);
  EXPECT_TRUE(loaded.IsEqual(ArrayOf({1, -2})));

  MemoryStream cut(Bytes{8, 0, 0, 0, 1, 0});
  loaded.LoadFrom(cut);
  EXPECT_EQ(cut.GetError(), BinaryStream::kShortRead);
  EXPECT_EQ(loaded.GetCount(), 0);

  // A short length changes nothing.
  loaded = ArrayOf({7});
  MemoryStream no_length(Bytes{8, 0});
  loaded.LoadFrom(no_length);
  EXPECT_EQ(no_length.GetError(), BinaryStream::kShortRead);
  EXPECT_TRUE(loaded.IsEqual(ArrayOf({7})));
}

TEST(IntArray, AnElementThatThirtyTwoBitsCannotHoldFailsTheWriteAndWritesNothing) {
  if constexpr (sizeof(std::intptr_t) == 8) {
    MemoryStream stream;
    ArrayOf({1, static_cast<std::intptr_t>(std::int64_t{1} << 40)}).SaveTo(stream);
    EXPECT_EQ(stream.GetError(), BinaryStream::kFailedWrite);
    EXPECT_TRUE(stream.GetBytes().empty());
  } else {
    GTEST_SKIP() << "every value of the 32-bit program fits its binary form";
  }
}

}  // namespace
