// Creating folder trees: deep paths, existing folders and files, bare drives and roots, and paths with
// spaces, Chinese characters and lengths at the Windows limit.
#include "sys/folder_tree.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/sys/sys_test_support.h"

namespace {

using vexo::sys::CreateFolderTree;
using vexo::test::IsFile;
using vexo::test::IsFolder;

// A drive letter that names no drive in this session.
std::wstring MissingDrive() {
  const DWORD drives = ::GetLogicalDrives();
  for (int letter = 'Q'; letter <= 'Y'; ++letter) {
    if ((drives & (1u << (letter - 'A'))) == 0) return std::wstring(1, static_cast<wchar_t>(letter)) + L":";
  }
  return L"";
}

TEST(CreateFolderTree, CreatesEveryMissingFolderOfADeepPath) {
  vexo::test::ScratchFolder scratch;
  ASSERT_FALSE(scratch.path().empty());
  for (const std::wstring tail : {L"A\\B\\C\\", L"D\\E\\F"}) {
    SCOPED_TRACE(tail);
    const std::wstring path = scratch.path() + tail;
    EXPECT_EQ(CreateFolderTree(path.c_str()), 1);
    EXPECT_TRUE(IsFolder(path));
    EXPECT_TRUE(IsFolder(path.substr(0, path.find(L'\\', scratch.path().size()))));
  }
}

TEST(CreateFolderTree, ExistingFolderGivesOne) {
  vexo::test::ScratchFolder scratch;
  const std::wstring without_backslash = scratch.path().substr(0, scratch.path().size() - 1);
  EXPECT_EQ(CreateFolderTree(scratch.path().c_str()), 1);
  EXPECT_EQ(CreateFolderTree(without_backslash.c_str()), 1);
  EXPECT_EQ(CreateFolderTree(L"C:\\"), 1);
  EXPECT_EQ(CreateFolderTree(L"C:\\windows"), 1);
}

TEST(CreateFolderTree, FileInTheWayGivesZeroAndCreatesNothing) {
  vexo::test::ScratchFolder scratch;
  const std::wstring file = scratch.path() + L"file.txt";
  ASSERT_TRUE(vexo::test::WriteWholeFile(file, "x"));
  EXPECT_EQ(CreateFolderTree((file + L"\\sub\\deeper\\").c_str()), 0);
  EXPECT_EQ(CreateFolderTree((file + L"\\sub").c_str()), 0);
  EXPECT_EQ(CreateFolderTree(file.c_str()), 0) << "a file must not pass for a folder";
  EXPECT_EQ(CreateFolderTree((file + L"\\").c_str()), 0);
  EXPECT_TRUE(IsFile(file));
}

TEST(CreateFolderTree, BareDriveGivesOneWithoutTouchingTheDisk) {
  const std::wstring missing = MissingDrive();
  ASSERT_FALSE(missing.empty());
  EXPECT_EQ(CreateFolderTree(L"C:"), 1);
  EXPECT_EQ(CreateFolderTree(missing.c_str()), 1);
  EXPECT_EQ(CreateFolderTree((missing + L"\\").c_str()), 0);
  EXPECT_EQ(CreateFolderTree((missing + L"\\A\\B\\").c_str()), 0);
}

TEST(CreateFolderTree, EmptyPathGivesZero) {
  EXPECT_EQ(CreateFolderTree(nullptr), 0);
  EXPECT_EQ(CreateFolderTree(L""), 0);
}

TEST(CreateFolderTree, SpacesAndChineseCharactersAreKept) {
  vexo::test::ScratchFolder scratch;
  const std::wstring path = scratch.path() + L"Vexo助手 安装\\数据 目录\\";
  EXPECT_EQ(CreateFolderTree(path.c_str()), 1);
  EXPECT_TRUE(IsFolder(path));
}

TEST(CreateFolderTree, ResultTellsWhetherTheFolderExistsAtAnyLength) {
  vexo::test::ScratchFolder scratch;
  for (const std::size_t length : {200u, 247u, 259u, 300u}) {
    SCOPED_TRACE(length);
    std::wstring path = scratch.path() + std::to_wstring(length);
    while (path.size() < length) path += (path.size() % 40 == 0) ? L'\\' : L'x';
    if (path.back() == L'\\') path.back() = L'y';
    ASSERT_EQ(path.size(), length);
    const int result = CreateFolderTree(path.c_str());
    EXPECT_EQ(result == 1, IsFolder(path));
    if (length < MAX_PATH - 12) {
      EXPECT_EQ(result, 1);
    }
  }
}

}  // namespace
