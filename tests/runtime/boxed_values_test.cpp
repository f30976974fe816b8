// The boxed value classes: dump forms, equality rules, stream widths, identity and the program class's list.
#include "runtime/boxed_values.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "runtime/binary_stream.h"
#include "runtime/user_app.h"

namespace {

using namespace rg_Pelor_JiBen;
using vexo::BinaryStream;
using vexo::MemoryStream;
using Bytes = std::vector<std::uint8_t>;

template <class T>
std::wstring Dump(typename T::ValueType value) {
  CWString output(L"text that the dump replaces");
  T(value).DumpTo(output, 0);
  return output.GetText();
}

TEST(BoxedValues, DumpReplacesTheOutputWithTheValuesForm) {
  const struct {
    std::wstring dumped;
    const wchar_t* form;
  } cases[] = {
      {Dump<rg_ZhengShuLei>(-7), L"-7"},
      {Dump<rg_ZhengShuLei>(std::numeric_limits<std::int32_t>::min()), L"-2147483648"},
      {Dump<rg_ChangZhengShuLei>(std::numeric_limits<std::int64_t>::min()), L"-9223372036854775808"},
      {Dump<rg_ChangZhengShuLei>(1234567890123LL), L"1234567890123"},
      {Dump<rg_LuoJiXingLei>(1), L"1"},
      {Dump<rg_LuoJiXingLei>(2), L"2"},
      {Dump<rg_XiaoShuLei>(0.0000005), L"0"},
      {Dump<rg_XiaoShuLei>(-2.5), L"-2.5"},
      {Dump<rg_XiaoShuLei>(1e20), L"1E+20"},
      {Dump<rg_BianZhengShuLei>(-3), L"-3"},
      {Dump<rg_ZiFuLei>(L'字'), L"字"},
      {Dump<rg_ZiFuLei>(0), L""},
      {Dump<rg_ZiJieLei>(200), L"-56"},
      {Dump<rg_ZiJieLei>(127), L"127"},
      {Dump<rg_DuanZhengShuLei>(-32768), L"-32768"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.dumped, c.form);

  CWString output(L"old");
  rg_ZiFuLei().DumpTo(output, 0);
  EXPECT_EQ(output.GetText(), CWString::EmptyLiteral()) << "replaced by nothing: the empty text";
  EXPECT_EQ(output.GetBuffer().GetCapacity(), 0);
}

TEST(BoxedValues, EqualityFollowsEachClassesRule) {
  EXPECT_TRUE(rg_XiaoShuLei(1.0).IsEqual(rg_XiaoShuLei(1.0000005)));
  EXPECT_TRUE(rg_XiaoShuLei(1.0000005).IsEqual(rg_XiaoShuLei(1.0)));
  EXPECT_FALSE(rg_XiaoShuLei(1.0).IsEqual(rg_XiaoShuLei(1.00001)));
  EXPECT_FALSE(rg_LuoJiXingLei(1).IsEqual(rg_LuoJiXingLei(2))) << "both true, but different 32 bits";
  EXPECT_TRUE(rg_ZiJieLei(200).IsEqual(rg_ZiJieLei(200)));
  EXPECT_FALSE(rg_DuanZhengShuLei(1).IsEqual(rg_DuanZhengShuLei(-1)));
  EXPECT_FALSE(rg_ChangZhengShuLei(1LL << 40).IsEqual(rg_ChangZhengShuLei(0)));
  EXPECT_FALSE(rg_ZhengShuLei(5).IsEqual(rg_BianZhengShuLei(5))) << "exact class";

  rg_ZhengShuLei marked(5);
  marked.SetNullObject(true);
  EXPECT_FALSE(rg_ZhengShuLei(5).IsEqual(marked));
}

template <class T>
void ExpectStreamForm(typename T::ValueType value, const Bytes& bytes) {
  SCOPED_TRACE(T::StaticClassInfo().name_record.name);
  MemoryStream stream;
  T(value).SaveTo(stream);
  EXPECT_EQ(stream.GetBytes(), bytes);
  T loaded;
  loaded.LoadFrom(stream);
  EXPECT_EQ(stream.GetError(), 0);
  EXPECT_TRUE(loaded.IsEqual(T(value)));

  // One byte short: the stream fails and the value stays.
  MemoryStream short_stream(Bytes(bytes.begin(), bytes.end() - 1));
  T kept;
  kept.LoadFrom(short_stream);
  EXPECT_EQ(short_stream.GetError(), BinaryStream::kShortRead);
  EXPECT_TRUE(kept.IsEqual(T()));

  MemoryStream full(bytes.size() - 1);
  T(value).SaveTo(full);
  EXPECT_EQ(full.GetError(), BinaryStream::kFailedWrite);
}

TEST(BoxedValues, StreamFormIsTheValueInItsNativeWidth) {
  ExpectStreamForm<rg_ZhengShuLei>(-2, {0xFE, 0xFF, 0xFF, 0xFF});
  ExpectStreamForm<rg_ChangZhengShuLei>(0x0102030405060708LL, {8, 7, 6, 5, 4, 3, 2, 1});
  ExpectStreamForm<rg_LuoJiXingLei>(1, {1, 0, 0, 0});
  ExpectStreamForm<rg_XiaoShuLei>(1.5, {0, 0, 0, 0, 0, 0, 0xF8, 0x3F});
  ExpectStreamForm<rg_BianZhengShuLei>(0x11223344, {0x44, 0x33, 0x22, 0x11});
  ExpectStreamForm<rg_BianZhengShuLei>(-2, {0xFE, 0xFF, 0xFF, 0xFF});
  ExpectStreamForm<rg_ZiFuLei>(L'字', {0x57, 0x5B});
  ExpectStreamForm<rg_ZiJieLei>(200, {200});
  ExpectStreamForm<rg_DuanZhengShuLei>(-2, {0xFE, 0xFF});
}

// The pointer-sized integer travels in 32 bits in every build; a 64-bit value beyond them is not cut.
TEST(BoxedValues, APointerSizedValueThatThirtyTwoBitsCannotHoldFailsTheWriteAndWritesNothing) {
  if constexpr (sizeof(std::intptr_t) == 8) {
    for (const std::int64_t wide : {std::int64_t{1} << 32, -(std::int64_t{1} << 31) - 1}) {
      const auto value = static_cast<std::intptr_t>(wide);
      MemoryStream stream;
      rg_BianZhengShuLei(value).SaveTo(stream);
      EXPECT_EQ(stream.GetError(), BinaryStream::kFailedWrite) << value;
      EXPECT_TRUE(stream.GetBytes().empty()) << value;
    }
  } else {
    GTEST_SKIP() << "every value of the 32-bit program fits its stream form";
  }
}

TEST(BoxedValues, NothingMovesOnceTheStreamHasFailed) {
  MemoryStream stream(Bytes{9, 0, 0, 0});
  stream.SetError(BinaryStream::kShortRead);
  rg_ZhengShuLei value(3);
  value.LoadFrom(stream);
  value.SaveTo(stream);
  EXPECT_EQ(value.GetValue(), 3);
  EXPECT_EQ(stream.GetBytes().size(), 4u);
}

TEST(BoxedValues, ValueIsZeroAfterConstructionAndResetAndCopiesFollowTheProtocol) {
  rg_XiaoShuLei value(2.5);
  value.SetNullObject(true);
  value.Reset();
  EXPECT_EQ(value.GetValue(), 0.0);
  EXPECT_FALSE(value.IsNullObject());
  EXPECT_EQ(rg_ChangZhengShuLei().GetValue(), 0);

  rg_ZhengShuLei target(1);
  EXPECT_FALSE(target.CopyFrom(rg_BianZhengShuLei(9)));
  EXPECT_EQ(target.GetValue(), 1);
  rg_ZhengShuLei source(9);
  source.SetNullObject(true);
  EXPECT_TRUE(target.CopyFrom(source));
  EXPECT_EQ(target.GetValue(), 9);
  EXPECT_TRUE(target.IsNullObject());

  CPelObject* clone = source.Clone();
  EXPECT_TRUE(clone->IsEqual(source));
  clone->Release();
}

TEST(BoxedValues, ASmallerBaseObjectIsNeitherCopiedNorEqual) {
  rg_XiaoShuLei target(2.5);
  const CPelBaseDataType base;
  EXPECT_FALSE(target.CopyFrom(base));
  EXPECT_FALSE(target.IsEqual(base));
  EXPECT_EQ(target.GetValue(), 2.5);
}

TEST(BoxedValues, ValueAddressPointsAtTheValueAndWideValuesAreEightByteAligned) {
  CPelObject* made[] = {
      rg_XiaoShuLei::StaticClassInfo().factory(),
      rg_ChangZhengShuLei::StaticClassInfo().factory(),
  };
  for (CPelObject* object : made) {
    auto* boxed = static_cast<CPelBaseDataType*>(object);
    const auto address = reinterpret_cast<std::uintptr_t>(boxed->GetValueAddress());
    EXPECT_EQ(address % 8, 0u) << object->GetClassInfo().name_record.name;
    EXPECT_EQ(address - reinterpret_cast<std::uintptr_t>(object), 16u) << "after the header, on 8 bytes";
    object->Release();
  }
  rg_DuanZhengShuLei small(-4);
  *static_cast<std::int16_t*>(small.GetValueAddress()) = 12;
  EXPECT_EQ(small.GetValue(), 12);
}

TEST(BoxedValues, ProgramClassListsTheEightRecordsInTheirFixedOrder) {
  const char* const names[] = {
      "rg_Pelor_JiBen::rg_ZiJieLei",        "rg_Pelor_JiBen::rg_DuanZhengShuLei",
      "rg_Pelor_JiBen::rg_ZiFuLei",         "rg_Pelor_JiBen::rg_ZhengShuLei",
      "rg_Pelor_JiBen::rg_BianZhengShuLei", "rg_Pelor_JiBen::rg_ChangZhengShuLei",
      "rg_Pelor_JiBen::rg_XiaoShuLei",      "rg_Pelor_JiBen::rg_LuoJiXingLei",
  };
  ClassRecordList list = rg_ChengXuLei().ListBasicClasses();
  ASSERT_NE(list, nullptr);
  int index = 0;
  for (; list[index] != nullptr; ++index) {
    ASSERT_LT(index, 8);
    EXPECT_STREQ(list[index]->name_record.name, names[index]);
    CPelObject* object = list[index]->factory();
    EXPECT_TRUE(object->IsKindOf(CPelBaseDataType::StaticClassInfo())) << names[index];
    EXPECT_EQ(&object->GetClassInfo(), list[index]);
    object->Release();
  }
  EXPECT_EQ(index, 8);
  EXPECT_EQ(rg_ChengXuLei().ListBasicClasses(), list) << "built once";
}

}  // namespace
