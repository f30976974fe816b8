// The text array: owned elements with null slots for empty ones, deep copies, equality, the quoted dump
// with its member limit, and the binary form with partial loads.
#include "runtime/text_array.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/binary_stream.h"

namespace {

using rg_Pelor_JiBen::rg_WenBenShuZuLei;
using vexo::BinaryStream;
using vexo::MemoryStream;
using Bytes = std::vector<std::uint8_t>;

rg_WenBenShuZuLei ArrayOf(std::initializer_list<const wchar_t*> texts) {
  rg_WenBenShuZuLei array;
  for (const wchar_t* text : texts) array.Add(text);
  return array;
}

std::wstring DumpOf(const rg_WenBenShuZuLei& array, int limit) {
  CWString output;
  array.DumpTo(output, limit);
  return output.GetText();
}

TEST(TextArray, ElementsAreOwnedCopiesAndEmptyOnesReadAsEmpty) {
  wchar_t source[] = L"changing";
  rg_WenBenShuZuLei array;
  array.Add(source);
  array.Add(CWString());
  array.Add(static_cast<const wchar_t*>(nullptr));
  array.Add(CWConstString(L"字"));
  source[0] = L'X';
  ASSERT_EQ(array.GetCount(), 4);
  EXPECT_STREQ(array.GetAt(0), L"changing");
  EXPECT_NE(array.GetAt(0), source);
  EXPECT_EQ(array.GetAt(1), CWString::EmptyLiteral());
  EXPECT_EQ(array.GetAt(2), CWString::EmptyLiteral());
  EXPECT_STREQ(array.GetAt(3), L"字");
  EXPECT_EQ(array.GetAt(4), CWString::EmptyLiteral());
  EXPECT_EQ(array.GetAt(-1), CWString::EmptyLiteral());
}

TEST(TextArray, CopiesAreDeepAndEqualityComparesElementsOrdinally) {
  const rg_WenBenShuZuLei original = ArrayOf({L"a", L"", L"c"});
  auto* copy = static_cast<rg_WenBenShuZuLei*>(original.Clone());
  EXPECT_TRUE(copy->IsEqual(original));
  EXPECT_NE(copy->GetAt(0), original.GetAt(0)) << "strings are never shared";
  copy->Release();
  EXPECT_STREQ(original.GetAt(2), L"c") << "releasing the copy leaves the original";

  EXPECT_TRUE(original.IsEqual(original));
  EXPECT_TRUE(original.IsEqual(ArrayOf({L"a", nullptr, L"c"}))) << "null and empty elements are equal";
  EXPECT_FALSE(original.IsEqual(ArrayOf({L"a", L"", L"C"})));
  EXPECT_FALSE(original.IsEqual(ArrayOf({L"a", L""})));

  rg_WenBenShuZuLei target = ArrayOf({L"old", L"elements"});
  target.SetNullObject(true);
  ASSERT_TRUE(target.CopyFrom(original));
  EXPECT_FALSE(target.IsNullObject());
  EXPECT_TRUE(target.IsEqual(original));
  ASSERT_TRUE(target.CopyFrom(target));
  EXPECT_TRUE(target.IsEqual(original)) << "copying an array onto itself keeps it";

  target.Reset();
  EXPECT_EQ(target.GetCount(), 0);
}

TEST(TextArray, DumpQuotesAndEscapesEachElement) {
  const rg_WenBenShuZuLei array = ArrayOf({L"tab\there \"quoted\"", L"", L"\b\n\f\r'\\", L"\x01\x1b\x1f", L"中文 ~"});
  EXPECT_EQ(DumpOf(array, -1),
            L"<数组> 总共 5 个成员:"
            L"\r\n1. \"tab\\there \\\"quoted\\\"\""
            L"\r\n2. \"\""
            L"\r\n3. \"\\b\\n\\f\\r\\'\\\\\""
            L"\r\n4. \"\\001\\033\\037\""
            L"\r\n5. \"中文 ~\"");
}

TEST(TextArray, DumpShowsAtMostTheLimitWithSixtyFourForZero) {
  rg_WenBenShuZuLei array;
  for (int i = 0; i < 100; ++i) array.Add(std::to_wstring(i).c_str());
  const struct {
    int limit;
    const wchar_t* header;
    int lines;
  } cases[] = {
      {0, L"<数组> 总共 100 个成员,输出了 64 个,还有 36 个未被输出.", 64},
      {-1, L"<数组> 总共 100 个成员:", 100},
      {10, L"<数组> 总共 100 个成员,输出了 10 个,还有 90 个未被输出.", 10},
      {100, L"<数组> 总共 100 个成员:", 100},
  };
  for (const auto& c : cases) {
    const std::wstring dump = DumpOf(array, c.limit);
    EXPECT_EQ(dump.substr(0, dump.find(L"\r\n")), c.header) << c.limit;
    const std::wstring last = L"\r\n" + std::to_wstring(c.lines) + L". \"" + std::to_wstring(c.lines - 1) + L"\"";
    EXPECT_EQ(dump.substr(dump.size() - last.size()), last) << c.limit;
  }
  EXPECT_EQ(DumpOf(rg_WenBenShuZuLei(), 0), L"<数组> 总共 0 个成员:");
}

TEST(TextArray, BinaryFormIsTheCountThenEachElementAsAText) {
  const rg_WenBenShuZuLei array = ArrayOf({L"ab", L"", L"字"});
  MemoryStream stream;
  array.SaveTo(stream);
  EXPECT_EQ(stream.GetBytes(), (Bytes{3, 0, 0, 0, 6, 0, 0, 0, 'a', 0, 'b', 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0x57, 0x5B, 0, 0}));

  rg_WenBenShuZuLei loaded = ArrayOf({L"replaced"});
  loaded.LoadFrom(stream);
  EXPECT_EQ(stream.GetError(), 0);
  EXPECT_TRUE(loaded.IsEqual(array));

  // Each element is readable as a text on its own.
  MemoryStream again;
  array.SaveTo(again);
  std::int32_t count = 0;
  again.ReadValue(count);
  CWString first;
  first.LoadFrom(again);
  EXPECT_STREQ(first.GetText(), L"ab");
}

TEST(TextArray, LoadStopsAtTheFirstStreamErrorKeepingWhatWasRead) {
  const struct {
    const char* what;
    Bytes input;
    int kept;
  } cases[] = {
      {"short count", {2, 0}, 0},
      {"negative count", {0xFF, 0xFF, 0xFF, 0xFF}, 0},
      {"fewer elements than counted", {3, 0, 0, 0, 4, 0, 0, 0, 'x', 0, 0, 0}, 1},
      {"element cut short", {2, 0, 0, 0, 4, 0, 0, 0, 'x', 0, 0, 0, 6, 0, 0, 0, 'y', 0}, 1},
      {"element without terminator", {2, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 'z', 0}, 1},
  };
  for (const auto& c : cases) {
    MemoryStream stream(c.input);
    rg_WenBenShuZuLei array = ArrayOf({L"old"});
    array.LoadFrom(stream);
    EXPECT_EQ(stream.GetError(), BinaryStream::kShortRead) << c.what;
    EXPECT_EQ(array.GetCount(), c.kept) << c.what;
  }

  MemoryStream failed(Bytes{1, 0, 0, 0, 0, 0, 0, 0});
  failed.SetError(BinaryStream::kShortRead);
  rg_WenBenShuZuLei untouched = ArrayOf({L"old"});
  untouched.LoadFrom(failed);
  EXPECT_STREQ(untouched.GetAt(0), L"old");
}

}  // namespace
