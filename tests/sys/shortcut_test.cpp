// Shell links: read back through IShellLinkW and from the file's own header, the ".lnk" rule, targets that
// do not exist, and saves that fail.
#include "sys/shortcut.h"

#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "runtime/win/com_ptr.h"
#include "runtime/win/scoped_handles.h"
#include "runtime/win/windows_api.h"
#include "tests/sys/sys_test_support.h"

namespace {

using vexo::sys::CreateShortcut;

// Fields of the shell link file header (MS-SHLLINK 2.1).
constexpr std::size_t kLinkFlagsOffset = 0x14;
constexpr std::size_t kShowCommandOffset = 0x3C;
constexpr std::uint32_t kHasName = 0x04;
constexpr std::uint32_t kHasWorkingDir = 0x10;
constexpr std::uint32_t kHasArguments = 0x20;

struct LinkContent {
  bool loaded = false;
  std::wstring path;
  std::wstring working_folder;
  std::wstring description;
  std::wstring arguments;
};

class ShortcutTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(com_.succeeded());
    ASSERT_FALSE(scratch_.path().empty());
    app_folder_ = scratch_.path() + L"Program Files (x86)\\VexoProxy\\";
    ASSERT_TRUE(::CreateDirectoryW((scratch_.path() + L"Program Files (x86)").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW(app_folder_.c_str(), nullptr));
    target_ = app_folder_ + L"VexoClient.exe";
    ASSERT_TRUE(vexo::test::WriteWholeFile(target_, "MZ"));
  }

  static int Create(const std::wstring& link, const std::wstring& target, const std::wstring& description,
                    const std::wstring& arguments, const std::wstring& working_folder) {
    return CreateShortcut(CWString(link.c_str()), CWString(target.c_str()), CWString(description.c_str()),
                          CWString(arguments.c_str()), CWString(working_folder.c_str()));
  }

  // The link as the shell reads it back.
  static LinkContent Load(const std::wstring& file) {
    LinkContent content;
    vexo::win::ComPtr<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(link.receive())))) {
      return content;
    }
    vexo::win::ComPtr<IPersistFile> persist = link.As<IPersistFile>();
    if (!persist || FAILED(persist->Load(file.c_str(), STGM_READ))) return content;
    wchar_t text[INFOTIPSIZE] = {};
    link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
    content.path = text;
    text[0] = L'\0';
    link->GetWorkingDirectory(text, MAX_PATH);
    content.working_folder = text;
    text[0] = L'\0';
    link->GetDescription(text, INFOTIPSIZE);
    content.description = text;
    text[0] = L'\0';
    link->GetArguments(text, INFOTIPSIZE);
    content.arguments = text;
    content.loaded = true;
    return content;
  }

  static std::uint32_t HeaderField(const std::string& file, std::size_t offset) {
    std::uint32_t value = 0;
    if (file.size() >= offset + 4) std::memcpy(&value, file.data() + offset, 4);
    return value;
  }

  vexo::win::ScopedComInit com_;
  vexo::test::ScratchFolder scratch_;
  std::wstring app_folder_;
  std::wstring target_;
};

TEST_F(ShortcutTest, LinkReadsBackWithTargetWorkingFolderAndShowCommand) {
  const std::wstring link = scratch_.path() + L"Vexo助手.lnk";
  ASSERT_EQ(Create(link, target_, L"", L"", app_folder_), 1);

  const LinkContent content = Load(link);
  ASSERT_TRUE(content.loaded);
  EXPECT_EQ(content.path, target_);
  EXPECT_EQ(content.working_folder, app_folder_);
  EXPECT_EQ(content.description, L"");
  EXPECT_EQ(content.arguments, L"");

  const std::string file = vexo::test::ReadWholeFile(link);
  EXPECT_EQ(HeaderField(file, kShowCommandOffset), static_cast<std::uint32_t>(SW_SHOW));
  const std::uint32_t flags = HeaderField(file, kLinkFlagsOffset);
  EXPECT_EQ(flags & kHasName, 0u) << "an empty description must stay unset";
  EXPECT_EQ(flags & kHasArguments, 0u) << "empty arguments must stay unset";
  EXPECT_NE(flags & kHasWorkingDir, 0u);
}

TEST_F(ShortcutTest, DescriptionAndArgumentsAreStoredWhenGiven) {
  const std::wstring link = scratch_.path() + L"with extras.lnk";
  ASSERT_EQ(Create(link, target_, L"Vexo助手 客户端", L"--start \"C:\\a b\"", L""), 1);
  const LinkContent content = Load(link);
  ASSERT_TRUE(content.loaded);
  EXPECT_EQ(content.description, L"Vexo助手 客户端");
  EXPECT_EQ(content.arguments, L"--start \"C:\\a b\"");
  EXPECT_EQ(content.working_folder, L"");
  const std::uint32_t flags = HeaderField(vexo::test::ReadWholeFile(link), kLinkFlagsOffset);
  EXPECT_NE(flags & kHasName, 0u);
  EXPECT_NE(flags & kHasArguments, 0u);
  EXPECT_EQ(flags & kHasWorkingDir, 0u) << "an empty working folder must stay unset";
}

TEST_F(ShortcutTest, LnkIsAppendedOnlyWhenThePathHasNoDot) {
  ASSERT_TRUE(::CreateDirectoryW((scratch_.path() + L"my.apps").c_str(), nullptr));
  struct Case {
    std::wstring link;
    std::wstring saved_as;
  };
  const Case cases[] = {
      {scratch_.path() + L"Vexo", scratch_.path() + L"Vexo.lnk"},
      {scratch_.path() + L"Vexo助手.lnk", scratch_.path() + L"Vexo助手.lnk"},
      {scratch_.path() + L"my.apps\\Vexo", scratch_.path() + L"my.apps\\Vexo"},
      {scratch_.path() + L"client.link", scratch_.path() + L"client.link"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.link);
    ASSERT_EQ(Create(c.link, target_, L"", L"", app_folder_), 1);
    EXPECT_TRUE(vexo::test::IsFile(c.saved_as));
    EXPECT_EQ(Load(c.saved_as).path, target_);
  }
  EXPECT_FALSE(vexo::test::IsFile(scratch_.path() + L"my.apps\\Vexo.lnk"));
}

TEST_F(ShortcutTest, LinkPathOf259CharactersIsSavedWhole) {
  std::wstring link = scratch_.path() + L"链接 ";
  link += std::wstring(259 - link.size() - 4, L'n') + L".lnk";
  ASSERT_EQ(link.size(), 259u);
  EXPECT_EQ(Create(link, target_, L"", L"", app_folder_), 1);
  EXPECT_EQ(Load(link).path, target_);
}

TEST_F(ShortcutTest, MissingTargetStillGivesALink) {
  const std::wstring link = scratch_.path() + L"dangling.lnk";
  const std::wstring missing = scratch_.path() + L"not installed\\VexoClient.exe";
  ASSERT_EQ(Create(link, missing, L"", L"", scratch_.path() + L"not installed\\"), 1);
  const LinkContent content = Load(link);
  ASSERT_TRUE(content.loaded);
  EXPECT_EQ(content.path, missing);
}

TEST_F(ShortcutTest, FailedSaveGivesZeroAndLeavesExistingFilesAlone) {
  EXPECT_EQ(Create(scratch_.path() + L"no such folder\\Vexo.lnk", target_, L"", L"", app_folder_), 0);
  EXPECT_FALSE(vexo::test::IsFolder(scratch_.path() + L"no such folder"));

  const std::wstring folder = scratch_.path() + L"a folder.lnk";
  ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
  EXPECT_EQ(Create(folder, target_, L"", L"", app_folder_), 0);
  EXPECT_TRUE(vexo::test::IsFolder(folder));

  // A file another program holds open without sharing cannot be replaced.
  const std::wstring locked = scratch_.path() + L"in use.lnk";
  ASSERT_TRUE(vexo::test::WriteWholeFile(locked, "earlier content"));
  {
    vexo::win::ScopedHandle holder(
        ::CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_EQ(Create(locked, target_, L"", L"", app_folder_), 0);
  }
  EXPECT_EQ(vexo::test::ReadWholeFile(locked), "earlier content");

  wchar_t current[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, current);
  EXPECT_EQ(Create(L"", target_, L"", L"", app_folder_), 0);
  EXPECT_FALSE(vexo::test::IsFile(std::wstring(current) + L"\\.lnk"));
}

}  // namespace
