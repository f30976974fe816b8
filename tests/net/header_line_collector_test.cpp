// The header-line collector: one element per line, decoded from the ANSI code page, exactly as long as
// libcurl says.
#include "net/header_line_collector.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "runtime/text_array.h"

namespace vexo::net {
namespace {

TEST(CollectHeaderLine, StoresEachLineDecodedFromTheAnsiCodePage) {
  ASSERT_EQ(::GetACP(), 1252u) << "the tests run with wine's default ANSI code page";
  struct Case {
    std::string bytes;  // what libcurl delivers
    std::wstring text;  // the element stored
  };
  const Case cases[] = {
      {"HTTP/1.1 200 OK\r\n", L"HTTP/1.1 200 OK\r\n"},
      {"X-Name: caf\xe9\r\n", L"X-Name: caf\u00e9\r\n"},  // cp1252, not UTF-8
      {"X-Two: \xc3\xa9\r\n", L"X-Two: \u00c3\u00a9\r\n"},  // UTF-8 bytes read as two cp1252 characters
      {"X-Nul: a\0b\r\n", L"X-Nul: a"},                   // ends at a zero byte inside the line
      {"\r\n", L"\r\n"},
      {"", L""},
  };
  rg_Pelor_JiBen::rg_WenBenShuZuLei lines;
  for (const Case& c : cases) {
    std::string bytes = c.bytes;
    EXPECT_EQ(CollectHeaderLine(bytes.data(), 1, bytes.size(), &lines), bytes.size());
  }
  ASSERT_EQ(lines.GetCount(), static_cast<int>(std::size(cases)));
  for (int i = 0; i < lines.GetCount(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(std::wstring(lines.GetAt(i)), cases[i].text);
  }
}

TEST(CollectHeaderLine, ReadsOnlyTheDeliveredBytes) {
  // libcurl's buffer is not zero-terminated: whatever follows the line must not be read.
  char buffer[] = {'A', ':', ' ', '1', '\r', '\n', 'B', 'B', 'B', 'B'};
  rg_Pelor_JiBen::rg_WenBenShuZuLei lines;
  EXPECT_EQ(CollectHeaderLine(buffer, 1, 6, &lines), 6u);
  ASSERT_EQ(lines.GetCount(), 1);
  EXPECT_EQ(std::wstring(lines.GetAt(0)), L"A: 1\r\n");
  EXPECT_EQ(CollectHeaderLine(buffer, 1, 6, nullptr), 6u);
}

TEST(CollectHeaderLine, LinesTheCodePageCannotDecodeStillGiveOneElementEach) {
  // Run again under the Chinese code page (CTest test net_header_lines_cp936), where these bytes are
  // broken double-byte sequences.
  if (const char* expected = std::getenv("VEXO_EXPECT_ACP")) {
    ASSERT_EQ(::GetACP(), static_cast<UINT>(std::atoi(expected)));
  }
  const std::string lines[] = {"X-Lead: \x81\r\n", "X-High: \xff\xfe\xfd\r\n", "X-Cut: \xe9"};
  rg_Pelor_JiBen::rg_WenBenShuZuLei collected;
  for (std::string line : lines) {
    EXPECT_EQ(CollectHeaderLine(line.data(), 1, line.size(), &collected), line.size());
  }
  ASSERT_EQ(collected.GetCount(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(std::wstring(collected.GetAt(i)).rfind(L"X-", 0), 0u) << i;
}

}  // namespace
}  // namespace vexo::net
