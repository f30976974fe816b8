// The text type: literal-or-owned storage, appends, numbers, formatting, substring, replace, concatenation,
// object protocol and binary form; and the generic object dump that formats with it.
#include "runtime/w_string.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/binary_stream.h"
#include "runtime/object_bases.h"

namespace {

using vexo::BinaryStream;
using vexo::MemoryStream;

TEST(WStringStorage, NewTextReadsAsTheSharedEmptyLiteral) {
  const CWString text;
  EXPECT_EQ(text.GetText(), CWString::EmptyLiteral());
  EXPECT_EQ(CWString().GetText(), CWString::EmptyLiteral());
  EXPECT_EQ(text.GetLength(), 0);
  EXPECT_TRUE(text.IsEmpty());
  EXPECT_EQ(text.GetBuffer().GetCapacity(), 0);
  EXPECT_EQ(text.GetBuffer().GetStep(), CWString::kBufferStep);
}

TEST(WStringStorage, LiteralStaysSharedUntilTheFirstChange) {
  static const wchar_t kLiteral[] = L"C:\\dir";
  CWConstString text(kLiteral);
  EXPECT_EQ(text.GetText(), kLiteral);
  EXPECT_EQ(text.GetLength(), 6);

  text.Append(L"");
  text.Append(nullptr);
  text.AppendChar(L'\0');
  EXPECT_EQ(text.GetText(), kLiteral) << "no-op appends leave the literal in place";

  text.Append(L"\\");
  EXPECT_NE(text.GetText(), kLiteral);
  EXPECT_STREQ(text.GetText(), L"C:\\dir\\");
  EXPECT_EQ(text.GetBuffer().GetLength(), 2 * (6 + 1) + 2);
  EXPECT_STREQ(kLiteral, L"C:\\dir") << "the literal is never written";

  CWConstString other(kLiteral);
  CPelMem& buffer = other.MakeOwned();
  EXPECT_EQ(&buffer, &other.GetBuffer());
  EXPECT_EQ(buffer.GetLength(), 14);
  EXPECT_STREQ(other.GetText(), kLiteral);
  EXPECT_NE(other.GetText(), kLiteral);
}

TEST(WStringStorage, BufferHoldsTheUnitsAndExactlyOneTerminator) {
  CWString text;
  text.Append(L"ab");
  EXPECT_EQ(text.GetBuffer().GetLength(), 6);
  text.AppendChar(L'c');
  EXPECT_EQ(text.GetBuffer().GetLength(), 8);
  EXPECT_STREQ(text.GetText(), L"abc");
  EXPECT_EQ(text.GetLength(), 3);
  text.Append(L"中文");
  EXPECT_STREQ(text.GetText(), L"abc中文");
  EXPECT_EQ(text.GetBuffer().GetLength(), 12);
  EXPECT_EQ(text.GetBuffer().GetCapacity(), 254);

  text.Append(text.GetText());
  EXPECT_STREQ(text.GetText(), L"abc中文abc中文") << "appending the text to itself";

  // 100 units sit in a pool block; doubling them moves the buffer to the process heap.
  const std::wstring hundred(100, L'h');
  CWString moving(hundred.c_str());
  moving.Append(moving.GetText());
  EXPECT_EQ(moving.GetText(), hundred + hundred);

  text.Clear();
  EXPECT_EQ(text.GetText(), CWString::EmptyLiteral());
  EXPECT_EQ(text.GetBuffer().GetCapacity(), 0);
}

TEST(WStringNumbers, AppendInt64WritesDecimalDigits) {
  const struct {
    std::int64_t value;
    const wchar_t* text;
  } cases[] = {
      {0, L"x0"},
      {-1, L"x-1"},
      {7, L"x7"},
      {1234567890123LL, L"x1234567890123"},
      {std::numeric_limits<std::int64_t>::max(), L"x9223372036854775807"},
      {std::numeric_limits<std::int64_t>::min(), L"x-9223372036854775808"},
      {std::numeric_limits<std::int64_t>::min() + 1, L"x-9223372036854775807"},
  };
  for (const auto& c : cases) {
    CWString text(L"x");
    text.AppendInt64(c.value);
    EXPECT_STREQ(text.GetText(), c.text);
  }
}

TEST(WStringNumbers, AppendDoubleWritesZeroNearZeroElseFifteenSignificantDigits) {
  const struct {
    double value;
    const wchar_t* text;
  } cases[] = {
      {0.0000005, L"0"},   {-0.000001, L"0"},        {0.000001, L"0"},       {-0.0, L"0"},
      {0.5, L"0.5"},       {1e20, L"1E+20"},         {-2.5, L"-2.5"},        {1.0 / 3, L"0.333333333333333"},
      {0.0000011, L"1.1E-06"}, {123456.789, L"123456.789"}, {1e15, L"1E+15"}, {-1e-5, L"-1E-05"}, {1e-300, L"0"},
  };
  for (const auto& c : cases) {
    CWString text;
    text.AppendDouble(c.value);
    EXPECT_STREQ(text.GetText(), c.text) << c.value;
  }
}

TEST(WStringFormat, UsesTheLegacyWideRulesWhereStakesAUtf16String) {
  CWString text(L"previous");
  text.Format(L"%s|%d|%X|%.15G|%%|%c", L"宽字符 wide", -42, 0xBEEFu, 1e20, L'字');
  EXPECT_STREQ(text.GetText(), L"宽字符 wide|-42|BEEF|1E+20|%|字");
  EXPECT_EQ(text.GetBuffer().GetLength(), 2 * (text.GetLength() + 1));
}

TEST(WStringFormat, EmptyResultOrNullFormatLeavesTheTextEmptyWithoutStorage) {
  for (const wchar_t* format : {static_cast<const wchar_t*>(nullptr), L"", L"%s"}) {
    CWString text(L"previous");
    text.Format(format, L"");
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(text.GetBuffer().GetCapacity(), 0);
  }
}

TEST(WStringFormat, ArgumentsMayPointIntoTheTextItself) {
  CWString path(L"C:\\Program Files");
  path.Format(L"%s\\%s", path.GetText(), L"Vexo");
  EXPECT_STREQ(path.GetText(), L"C:\\Program Files\\Vexo");

  // Longer than one buffer step, so the result needs new storage while the argument is read.
  CWString big(std::wstring(300, L'a').c_str());
  big.Format(L"%s-%s", big.GetText(), big.GetText());
  EXPECT_EQ(std::wstring(big.GetText()), std::wstring(300, L'a') + L"-" + std::wstring(300, L'a'));
}

TEST(WStringFormat, AppendFormatAppendsTheFormattedText) {
  CWString text(L"count: ");
  text.AppendFormat(L"%d of %s", 3, L"七");
  EXPECT_STREQ(text.GetText(), L"count: 3 of 七");
  text.AppendFormat(L"");
  EXPECT_STREQ(text.GetText(), L"count: 3 of 七");
}

TEST(WStringSet, SetCharsCopiesUnitsOrZerosAndCountZeroGivesNoStorage) {
  CWString text(L"previous");
  text.SetChars(L"abcdef", 3);
  EXPECT_STREQ(text.GetText(), L"abc");
  EXPECT_EQ(text.GetBuffer().GetLength(), 8);

  text.SetChars(nullptr, 2);
  EXPECT_EQ(text.GetBuffer().GetLength(), 6);
  EXPECT_EQ(text.GetLength(), 2);
  EXPECT_TRUE(text.IsEmpty()) << "two zero units read as the empty text";

  for (int count : {0, -5}) {
    text.SetChars(L"abc", count);
    EXPECT_EQ(text.GetBuffer().GetLength(), 0);
    EXPECT_EQ(text.GetBuffer().GetCapacity(), 0);
  }

  CWString self(L"0123456789");
  self.SetChars(self.GetText() + 4, 3);
  EXPECT_STREQ(self.GetText(), L"456");
}

TEST(WStringSet, SetFromUtf8DecodesAndAnEmptyResultFreesTheBuffer) {
  const struct {
    const char* bytes;
    const wchar_t* text;
    std::int32_t buffer_length;
  } cases[] = {
      {"abc", L"abc", 8},
      {"\xE4\xB8\xAD\xE6\x96\x87", L"中文", 6},
      {"", L"", 0},
      {nullptr, L"", 0},
      {"\x80" "abc", L"", 0},
      {"\xC0\x80" "abc", L"", 0},
  };
  for (const auto& c : cases) {
    CWString text(L"previous");
    text.SetFromUtf8(c.bytes);
    EXPECT_STREQ(text.GetText(), c.text);
    EXPECT_EQ(text.GetBuffer().GetLength(), c.buffer_length);
  }
}

TEST(WStringMid, ClampsStartAndCountToTheText) {
  const struct {
    int start;
    int count;
    const wchar_t* part;
  } cases[] = {
      {0, 3, L"abc"},  {2, 2, L"cd"},   {-2, 3, L"a"},  {4, 100, L"ef"}, {6, 1, L""},
      {9, 2, L""},     {2, 0, L""},     {3, -2, L""},     {-5, 3, L""},
      {1, std::numeric_limits<int>::max(), L"bcdef"},
  };
  const CWConstString literal(L"abcdef");
  const CWString owned(L"abcdef");
  for (const CWString* source : {static_cast<const CWString*>(&literal), &owned}) {
    for (const auto& c : cases) {
      const CWString part = source->Mid(c.start, c.count);
      EXPECT_STREQ(part.GetText(), c.part) << c.start << ", " << c.count;
      if (part.IsEmpty()) {
        EXPECT_EQ(part.GetBuffer().GetCapacity(), 0) << c.start << ", " << c.count;
      }
    }
  }
}

TEST(WStringReplace, ReplacesFromTheStartIndexUpToTheMaximumCount) {
  const struct {
    const wchar_t* text;
    const wchar_t* find;
    const wchar_t* replacement;
    int start;
    int max_count;
    const wchar_t* result;
  } cases[] = {
      {L"C:\\dir\\", L"\\", L"", 6, 1, L"C:\\dir"},
      {L"C:\\dir", L"\\", L"", 5, 1, L"C:\\dir"},
      {L"a.b.c.d", L".", L"::", 0, 0, L"a::b::c::d"},
      {L"a.b.c.d", L".", L"", 0, 2, L"abc.d"},
      {L"a.b.c.d", L".", nullptr, 2, -1, L"a.bcd"},
      {L"aaaa", L"aa", L"a", 0, 0, L"aa"},
      {L"aaa", L"a", L"aa", 0, 0, L"aaaaaa"},
      {L"xyz", L"xyz", L"", 0, 0, L""},
      {L"xyz", L"", L"q", 0, 0, L"xyz"},
      {L"xy", L"xyz", L"q", 0, 0, L"xy"},
      {L"xyz", L"z", L"q", 3, 0, L"xyz"},
      {L"xyz", L"x", L"q", -4, 0, L"qyz"},
      {L"Abc", L"a", L"q", 0, 0, L"Abc"},
      {L"路径\\文件", L"\\", L"/", 0, 0, L"路径/文件"},
  };
  for (const auto& c : cases) {
    CWString text(c.text);
    text.Replace(c.find, c.replacement, c.start, c.max_count);
    EXPECT_STREQ(text.GetText(), c.result) << c.start << " " << c.max_count;
    EXPECT_EQ(text.GetLength(), static_cast<int>(wcslen(c.result)));
  }
}

TEST(WStringReplace, LiteralBecomesOwnedAndOwnTextsAreSafeArguments) {
  static const wchar_t kLiteral[] = L"one two one";
  CWConstString text(kLiteral);
  text.Replace(L"one", L"1", 0, 0);
  EXPECT_STREQ(text.GetText(), L"1 two 1");
  EXPECT_STREQ(kLiteral, L"one two one");

  CWString growing(L"ab");
  growing.Replace(L"a", growing.GetText(), 0, 0);
  EXPECT_STREQ(growing.GetText(), L"abb");

  CWString big(std::wstring(600, L'x').c_str());
  big.Replace(L"x", L"yy", 0, 0);
  EXPECT_EQ(std::wstring(big.GetText()), std::wstring(1200, L'y'));
}

TEST(WStringConcat, EmptySidesGiveACopyOfTheOtherSide) {
  static const wchar_t kLiteral[] = L"lit";
  const CWConstString empty_literal(CWString::EmptyLiteral());
  const CWConstString literal(kLiteral);
  const CWString owned(L"own");

  const CWString a = CWString::Concat(empty_literal, owned);
  EXPECT_STREQ(a.GetText(), L"own");
  EXPECT_EQ(a.GetBuffer().GetLength(), 8) << "an owned copy";
  EXPECT_NE(a.GetText(), owned.GetText());

  const CWString b = CWString::Concat(literal, CWString());
  EXPECT_EQ(b.GetText(), kLiteral) << "the literal pointer is shared";

  const CWString c = CWString::Concat(CWString(L"a"), CWString(L"b"));
  EXPECT_STREQ(c.GetText(), L"ab");
  EXPECT_EQ(c.GetBuffer().GetLength(), 6);

  const CWString d = CWString::Concat(literal, owned);
  EXPECT_STREQ(d.GetText(), L"litown");
  EXPECT_EQ(d.GetBuffer().GetLength(), 14);
}

TEST(WStringConcat, TextAndStringAppendsOrCopies) {
  static const wchar_t kLiteral[] = L"lit";
  const CWConstString literal(kLiteral);
  EXPECT_EQ(CWString::Concat(literal, static_cast<const wchar_t*>(nullptr)).GetText(), kLiteral);
  EXPECT_EQ(CWString::Concat(literal, L"").GetText(), kLiteral);
  const CWString joined = CWString::Concat(literal, L"字");
  EXPECT_STREQ(joined.GetText(), L"lit字");
  EXPECT_EQ(joined.GetBuffer().GetLength(), 10);
  EXPECT_STREQ(CWString::Concat(CWString(), L"x").GetText(), L"x");
}

TEST(WStringObject, EqualityIsOrdinalAndNeedsTheExactClassAndFlags) {
  const CWConstString literal(L"same");
  const CWString owned(L"same");
  EXPECT_TRUE(owned.IsEqual(CWString(L"same")));
  EXPECT_TRUE(CWString(literal).IsEqual(owned)) << "a literal and an owned copy of it are the same text";
  EXPECT_FALSE(owned.IsEqual(literal)) << "CWConstString is another class";
  EXPECT_FALSE(literal.IsEqual(owned));
  EXPECT_TRUE(literal.IsEqual(CWConstString(L"same")));
  EXPECT_FALSE(owned.IsEqual(CWString(L"Same")));
  EXPECT_FALSE(owned.IsEqual(CWString(L"same ")));
  CWString null_marked(L"same");
  null_marked.SetNullObject(true);
  EXPECT_FALSE(owned.IsEqual(null_marked));
}

TEST(WStringObject, IdentityChainsOfBothTextClasses) {
  const CWConstString literal(L"x");
  EXPECT_TRUE(literal.IsKindOf(CWString::StaticClassInfo()));
  EXPECT_TRUE(literal.IsKindOf(CPelObject::StaticClassInfo()));
  EXPECT_FALSE(CWString().IsKindOf(CWConstString::StaticClassInfo()));
  EXPECT_STREQ(CWString::StaticClassInfo().name_record.name, "CWString");
  EXPECT_STREQ(CWConstString::StaticClassInfo().name_record.name, "CWConstString");
  EXPECT_EQ(CWString::StaticClassInfo().name_record.name_hash, 6943153);
}

TEST(WStringObject, CopiesShareLiteralsButNeverBuffers) {
  static const wchar_t kLiteral[] = L"lit";
  CWString target(L"old");
  EXPECT_TRUE(target.CopyFrom(CWConstString(kLiteral)));
  EXPECT_EQ(target.GetText(), kLiteral);

  const CWString owned(L"owned");
  CPelObject* clone = owned.Clone();
  auto* text = static_cast<CWString*>(clone);
  EXPECT_TRUE(clone->IsEqual(owned));
  EXPECT_NE(text->GetText(), owned.GetText());
  clone->Release();

  EXPECT_FALSE(target.CopyFrom(CPelMem()));
  EXPECT_EQ(target.GetText(), kLiteral);

  CWConstString literal_target(L"z");
  EXPECT_FALSE(literal_target.CopyFrom(owned)) << "a CWString is not a CWConstString";

  target.SetNullObject(true);
  target.Reset();
  EXPECT_TRUE(target.IsEmpty());
  EXPECT_FALSE(target.IsNullObject());
}

TEST(WStringStream, RoundTripsAndSavesALiteralAsItsOwnedForm) {
  static const wchar_t kLiteral[] = L"文本";
  const struct {
    CWString text;
    std::size_t saved_bytes;
  } cases[] = {
      {CWString(L"abc"), 4 + 8},
      {CWConstString(kLiteral), 4 + 6},
      {CWConstString(L""), 4 + 2},
      {CWString(), 4},
  };
  for (const auto& c : cases) {
    MemoryStream stream;
    c.text.SaveTo(stream);
    EXPECT_EQ(stream.GetBytes().size(), c.saved_bytes);
    CWConstString loaded(L"previous");
    loaded.LoadFrom(stream);
    EXPECT_EQ(stream.GetError(), 0);
    EXPECT_STREQ(loaded.GetText(), c.text.GetText());
    EXPECT_EQ(loaded.GetBuffer().GetLength(), static_cast<std::int32_t>(c.saved_bytes - 4)) << "owned now";
  }
}

TEST(WStringStream, MalformedTextFailsTheStreamAndLeavesTheTextEmpty) {
  const struct {
    const char* what;
    std::vector<std::uint8_t> input;
  } cases[] = {
      {"odd length", {3, 0, 0, 0, 'a', 0, 0}},
      {"no terminator", {4, 0, 0, 0, 'a', 0, 'b', 0}},
      {"short body", {6, 0, 0, 0, 'a', 0}},
  };
  for (const auto& c : cases) {
    MemoryStream stream(c.input);
    CWString text(L"previous");
    text.LoadFrom(stream);
    EXPECT_EQ(stream.GetError(), BinaryStream::kShortRead) << c.what;
    EXPECT_TRUE(text.IsEmpty()) << c.what;
  }
}

TEST(ObjectDump, GenericLineNamesTheClassAndAddressAndMarksNullObjects) {
  rg_Pelor_JiBen::rg_JieGouJiChuLei object;
  CWString output(L"> ");
  object.DumpTo(output, 0);
  std::wostringstream address;
  address << std::hex << std::uppercase << reinterpret_cast<std::uintptr_t>(&object);
  std::wstring expected =
      L"> 无法解析的对象数据,其输出类名为: \"rg_Pelor_JiBen::rg_JieGouJiChuLei\", 地址为: 0x" + address.str();
  EXPECT_EQ(output.GetText(), expected);

  object.SetNullObject(true);
  CWString null_output(L"> ");
  object.DumpTo(null_output, 0);
  EXPECT_EQ(null_output.GetText(), expected + L", 为空对象");
}

}  // namespace
