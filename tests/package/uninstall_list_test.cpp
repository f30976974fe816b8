// Reading the list of installed files: line and encoding forms that are accepted, and every path form that
// could reach outside the install folder, refused.
#include "package/uninstall/uninstall_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using vexo::uninstall::ParseUninstallList;
using vexo::uninstall::UninstallList;

struct AcceptedCase {
  const char* name;
  std::string bytes;
  std::vector<std::wstring> entries;
};

class AcceptedListTest : public testing::TestWithParam<AcceptedCase> {};

TEST_P(AcceptedListTest, GivesTheEntriesWithBackslashes) {
  const UninstallList list = ParseUninstallList(GetParam().bytes);
  EXPECT_EQ(list.refused_line, 0);
  EXPECT_EQ(list.entries, GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, AcceptedListTest,
    testing::Values(
        AcceptedCase{"CrLf", "readme.txt\r\ndata\\nodes\\default.json\r\n", {L"readme.txt", L"data\\nodes\\default.json"}},
        AcceptedCase{"LfAndNoFinalNewline", "a.txt\nb.txt", {L"a.txt", L"b.txt"}},
        AcceptedCase{"ByteOrderMark", "\xEF\xBB\xBFreadme.txt\r\n", {L"readme.txt"}},
        AcceptedCase{"ForwardSlashes", "data/nodes/default.json\n", {L"data\\nodes\\default.json"}},
        AcceptedCase{"EmptyLinesSkipped", "\r\n\na.txt\r\n\r\n", {L"a.txt"}},
        AcceptedCase{"ChineseNameAndSpaces", "data/\xE4\xBD\xBF\xE7\x94\xA8 \xE8\xAF\xB4\xE6\x98\x8E.txt\n",
                     {L"data\\使用 说明.txt"}},
        AcceptedCase{"DotsInsideNames", "..hidden\\a..b\\.config\n", {L"..hidden\\a..b\\.config"}},
        AcceptedCase{"Empty", "", {}}),
    [](const testing::TestParamInfo<AcceptedCase>& info) { return info.param.name; });

struct RefusedCase {
  const char* name;
  std::string line;
};

class RefusedEntryTest : public testing::TestWithParam<RefusedCase> {};

// The refused line comes after an accepted one: parsing reports its number and keeps nothing after it.
TEST_P(RefusedEntryTest, StopsAtTheRefusedLine) {
  const UninstallList list = ParseUninstallList("readme.txt\r\n" + GetParam().line + "\r\nlicense.txt\r\n");
  EXPECT_EQ(list.refused_line, 2);
  EXPECT_EQ(list.entries, std::vector<std::wstring>{L"readme.txt"});
  const std::string& line = GetParam().line;
  EXPECT_EQ(list.refused_text, std::wstring(line.begin(), line.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, RefusedEntryTest,
    testing::Values(RefusedCase{"Parent", "..\\escaped.txt"}, RefusedCase{"ParentForwardSlash", "../escaped.txt"},
                    RefusedCase{"NestedParent", "data\\..\\..\\escaped.txt"}, RefusedCase{"BareParent", ".."},
                    RefusedCase{"CurrentFolder", ".\\readme.txt"}, RefusedCase{"DriveAbsolute", "C:\\Windows\\win.ini"},
                    RefusedCase{"DriveRelative", "C:win.ini"}, RefusedCase{"Rooted", "\\Windows\\win.ini"},
                    RefusedCase{"RootedForwardSlash", "/etc/passwd"}, RefusedCase{"Unc", "\\\\server\\share\\x"},
                    RefusedCase{"DevicePath", "\\\\?\\C:\\x"}, RefusedCase{"EmptyComponent", "data\\\\x.txt"},
                    RefusedCase{"TrailingSeparator", "data\\"}, RefusedCase{"StreamName", "readme.txt:hidden"},
                    RefusedCase{"Wildcard", "data\\*"}, RefusedCase{"TrailingDot", "data.\\x"},
                    RefusedCase{"DotsAndSpaceBecomingParent", ".. \\x"}, RefusedCase{"ControlCharacter", "a\tb"}),
    [](const testing::TestParamInfo<RefusedCase>& info) { return info.param.name; });

TEST(UninstallListEncoding, InvalidUtf8LineIsRefusedWithoutItsText) {
  const UninstallList list = ParseUninstallList("readme.txt\n\xC3\x28.txt\n");
  EXPECT_EQ(list.refused_line, 2);
  EXPECT_TRUE(list.refused_text.empty());
  EXPECT_EQ(list.entries, std::vector<std::wstring>{L"readme.txt"});
}

TEST(UninstallListEncoding, LineNumbersCountEmptyLines) {
  EXPECT_EQ(ParseUninstallList("a.txt\r\n\r\n\r\n..\\b.txt\r\n").refused_line, 4);
}

}  // namespace
