// Well-known folders: each index against an independent source, the one trailing backslash, and the
// indices outside 1-11.
#include "sys/special_folder.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "runtime/win/windows_api.h"

namespace {

using vexo::sys::GetSpecialFolder;

std::wstring WithBackslash(std::wstring path) {
  if (path.empty() || path.back() != L'\\') path += L'\\';
  return path;
}

std::wstring Environment(const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  return ::GetEnvironmentVariableW(name, value, MAX_PATH) ? value : L"";
}

// SHGetFolderPathW, a different shell entry point than the one under test; empty when the folder
// does not exist.
std::wstring ShellFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return L"";
  if (::GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) return L"";
  return WithBackslash(path);
}

TEST(GetSpecialFolder, EveryIndexGivesItsFolderWithOneTrailingBackslash) {
  const std::wstring windows = WithBackslash(Environment(L"SystemRoot"));
  const std::pair<std::uint32_t, std::wstring> cases[] = {
      {1, ShellFolder(CSIDL_PERSONAL)},
      {2, ShellFolder(CSIDL_FAVORITES)},
      {3, ShellFolder(CSIDL_DESKTOPDIRECTORY)},
      {4, ShellFolder(CSIDL_FONTS)},
      {5, ShellFolder(CSIDL_STARTMENU)},
      {6, ShellFolder(CSIDL_PROGRAMS)},
      {7, ShellFolder(CSIDL_STARTUP)},
      {8, ShellFolder(CSIDL_APPDATA)},
      {9, windows},
      {10, windows + L"system32\\"},
      {11, WithBackslash(Environment(L"TEMP"))},
  };
  for (const auto& [index, expected] : cases) {
    SCOPED_TRACE(index);
    const std::wstring folder = GetSpecialFolder(index).GetText();
    EXPECT_TRUE(::CompareStringOrdinal(folder.c_str(), -1, expected.c_str(), -1, TRUE) == CSTR_EQUAL)
        << "got " << testing::PrintToString(folder) << ", expected " << testing::PrintToString(expected);
    ASSERT_GE(folder.size(), 4u);
    EXPECT_EQ(folder.back(), L'\\');
    EXPECT_NE(folder[folder.size() - 2], L'\\');
  }
}

TEST(GetSpecialFolder, TemporaryFolderIsExactlyWhatWindowsGives) {
  wchar_t temp[MAX_PATH] = {};
  ASSERT_NE(::GetTempPathW(MAX_PATH, temp), 0u);
  ASSERT_EQ(temp[wcslen(temp) - 1], L'\\');
  EXPECT_STREQ(GetSpecialFolder(vexo::sys::kTemporary).GetText(), temp);
}

TEST(GetSpecialFolder, IndicesOutsideTheTableGiveTheEmptyText) {
  for (const std::uint32_t index : {0u, 12u, 13u, 0x80000000u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(index);
    const CWString folder = GetSpecialFolder(index);
    EXPECT_TRUE(folder.IsEmpty());
    EXPECT_EQ(folder.GetLength(), 0);
  }
}

}  // namespace
