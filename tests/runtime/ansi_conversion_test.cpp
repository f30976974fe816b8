// Conversions through the ANSI code page. Expectations depend on the code page, so each test reads it
// (GetACP) and picks its table; the CTest run "runtime_values_cp936" starts these tests under the Chinese
// code page and sets VEXO_EXPECT_ACP=936, which they check.
#include "runtime/ansi_conversion.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/w_string.h"
#include "runtime/win/windows_api.h"

namespace {

struct CodePageSample {
  UINT code_page;
  const wchar_t* text;
  const char* bytes;
};

// Characters with a known encoding in each code page the tests run under.
constexpr CodePageSample kSamples[] = {
    {1252, L"Caf\u00e9 \u00fc\u00df \u20ac", "Caf\xE9 \xFC\xDF \x80"},
    {936, L"Vexo\u52a9\u624b \u4e2d\u6587", "Vexo\xD6\xFA\xCA\xD6 \xD6\xD0\xCE\xC4"},
};

const CodePageSample* SampleForThisCodePage() {
  for (const auto& sample : kSamples) {
    if (sample.code_page == ::GetACP()) return &sample;
  }
  return nullptr;
}

TEST(AnsiConversion, RunsUnderTheCodePageTheTestRunAskedFor) {
  const char* expected = std::getenv("VEXO_EXPECT_ACP");
  if (expected == nullptr) GTEST_SKIP() << "no code page asked for; running under " << ::GetACP();
  EXPECT_EQ(::GetACP(), static_cast<UINT>(std::atoi(expected)));
}

TEST(AnsiConversion, ToAnsiConvertsIntoTheBufferAndReportsTheByteLength) {
  const CodePageSample* sample = SampleForThisCodePage();
  if (sample == nullptr) GTEST_SKIP() << "no sample for code page " << ::GetACP();
  CPelMem buffer;
  int length = -1;
  const char* bytes = ToAnsi(sample->text, buffer, &length);
  EXPECT_STREQ(bytes, sample->bytes);
  EXPECT_EQ(length, static_cast<int>(std::strlen(sample->bytes)));
  EXPECT_EQ(bytes, buffer.GetData());
  EXPECT_EQ(buffer.GetLength(), length + 1);
  EXPECT_STREQ(ToAnsi(sample->text, buffer), sample->bytes) << "the length is optional";
}

TEST(AnsiConversion, FromAnsiConvertsIntoTheBufferWithItsTerminator) {
  const CodePageSample* sample = SampleForThisCodePage();
  if (sample == nullptr) GTEST_SKIP() << "no sample for code page " << ::GetACP();
  CPelMem buffer;
  const wchar_t* text = FromAnsi(sample->bytes, buffer);
  EXPECT_STREQ(text, sample->text);
  EXPECT_EQ(text, buffer.GetData());
  EXPECT_EQ(buffer.GetLength(), static_cast<std::int32_t>(2 * (std::wcslen(sample->text) + 1)));
}

TEST(AnsiConversion, ConvertingTheBuffersOwnContentBackIsSafe) {
  const CodePageSample* sample = SampleForThisCodePage();
  if (sample == nullptr) GTEST_SKIP() << "no sample for code page " << ::GetACP();
  CPelMem buffer;
  const wchar_t* text = FromAnsi(sample->bytes, buffer);
  EXPECT_STREQ(ToAnsi(text, buffer), sample->bytes);
  EXPECT_STREQ(FromAnsi(static_cast<const char*>(buffer.GetData()), buffer), sample->text);
}

TEST(AnsiConversion, EmptyInputGivesTheSharedEmptyResultsAndLeavesTheBuffer) {
  CPelMem buffer;
  buffer.Append("kept", 4);
  int length = -1;
  const char* empty_bytes = ToAnsi(nullptr, buffer, &length);
  EXPECT_STREQ(empty_bytes, "");
  EXPECT_EQ(length, 0);
  EXPECT_EQ(ToAnsi(L"", buffer, &length), empty_bytes) << "one shared empty byte string";
  EXPECT_EQ(FromAnsi(nullptr, buffer), CWString::EmptyLiteral());
  EXPECT_EQ(FromAnsi("", buffer), CWString::EmptyLiteral());
  EXPECT_EQ(buffer.GetLength(), 4);
}

TEST(AnsiConversion, UnmappableCharactersBecomeTheDefaultCharacter) {
  if (::GetACP() != 1252) GTEST_SKIP() << "the table is for code page 1252";
  CPelMem buffer;
  int length = 0;
  EXPECT_STREQ(ToAnsi(L"a\u4e2db", buffer, &length), "a?b");
  EXPECT_EQ(length, 3);
}

}  // namespace
