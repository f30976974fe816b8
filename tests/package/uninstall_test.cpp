// Uninstall.exe on an installation staged as the installer makes it: it removes exactly the listed files,
// the shortcuts and the keys of that installation, keeps everything else, removes itself, and removes
// nothing at all when it is told no or its list cannot be trusted.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "package/product.h"
#include "package/uninstall/uninstaller.h"
#include "runtime/win/scoped_handles.h"
#include "runtime/win/windows_api.h"
#include "tests/package/staged_install.h"

namespace {

using vexo::test::IsFile;
using vexo::test::IsFolder;
using vexo::test::ReadWholeFile;
using vexo::test::StagedInstall;
using vexo::test::WriteWholeFile;
namespace product = vexo::product;
namespace uninstall = vexo::uninstall;

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

std::string Utf8(const std::wstring& text) {
  std::string bytes(text.size() * 3, '\0');
  bytes.resize(::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                                     static_cast<int>(bytes.size()), nullptr, nullptr));
  return bytes;
}

// The names of the files deletion was scheduled for at the next restart.
std::wstring PendingDeletions() {
  vexo::win::ScopedRegKey key;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0, KEY_READ,
                      key.receive()) != ERROR_SUCCESS) {
    return L"";
  }
  DWORD size = 0;
  if (::RegQueryValueExW(key.get(), L"PendingFileRenameOperations", nullptr, nullptr, nullptr, &size) !=
      ERROR_SUCCESS) {
    return L"";
  }
  std::wstring names(size / sizeof(wchar_t) + 1, L'\0');
  ::RegQueryValueExW(key.get(), L"PendingFileRenameOperations", nullptr, nullptr,
                     reinterpret_cast<BYTE*>(names.data()), &size);
  for (wchar_t& unit : names) {
    if (unit == L'\0') unit = L'|';
  }
  return names;
}

class UninstallTest : public testing::Test {
 protected:
  UninstallTest() = default;
  explicit UninstallTest(const std::wstring& folder_name) : install_(folder_name) {}

  void SetUp() override { ASSERT_TRUE(install_.ok()) << "the installation could not be staged"; }

  std::wstring Installed(const std::wstring& entry) const { return install_.folder() + entry; }

  void ExpectShortcutsAndKeys(bool present) const {
    for (const std::wstring& link : StagedInstall::ShortcutPaths()) EXPECT_EQ(IsFile(link), present) << link;
    for (const wchar_t* key : product::kUninstallKeys) EXPECT_EQ(StagedInstall::KeyExists(key), present) << key;
  }

  void ExpectIntact() const {
    for (const std::wstring& entry : install_.listed()) EXPECT_TRUE(IsFile(Installed(entry))) << entry;
    ExpectShortcutsAndKeys(true);
  }

  void ExpectRemovedFinished(const vexo::test::UninstallerRun& run) const {
    ASSERT_TRUE(run.outcome.started);
    EXPECT_FALSE(run.outcome.timed_out);
    EXPECT_TRUE(run.followers_ended) << "the self-removal copy did not end";
    EXPECT_EQ(run.outcome.exit_code, static_cast<DWORD>(uninstall::kRemoved));
    for (const std::wstring& entry : install_.listed()) EXPECT_FALSE(Exists(Installed(entry))) << entry;
    EXPECT_FALSE(Exists(Installed(L"data\\nodes")));
    ExpectShortcutsAndKeys(false);
  }

  StagedInstall install_;
};

TEST_F(UninstallTest, SilentRunRemovesTheInstallationItselfIncludedAndKeepsTheUsersFiles) {
  const std::wstring own_file = Installed(L"我的笔记.txt");
  const std::wstring own_file_in_package_folder = Installed(L"data\\备份 1.txt");
  ASSERT_TRUE(WriteWholeFile(own_file, "mine"));
  ASSERT_TRUE(WriteWholeFile(own_file_in_package_folder, "also mine"));

  const vexo::test::UninstallerRun run = install_.RunUninstaller(L"/S");

  ExpectRemovedFinished(run);
  EXPECT_TRUE(run.outcome.boxes.empty());
  EXPECT_EQ(ReadWholeFile(own_file), "mine");
  EXPECT_EQ(ReadWholeFile(own_file_in_package_folder), "also mine");
  EXPECT_FALSE(Exists(Installed(product::kUninstallerExeName)));
  const std::wstring copy = L"VexoUninstall-" + std::to_wstring(run.outcome.process_id) + L".exe";
  EXPECT_TRUE(Contains(PendingDeletions(), copy)) << "the temporary copy is not scheduled for deletion";
}

TEST_F(UninstallTest, FolderLeftEmptyIsRemovedToo) {
  ExpectRemovedFinished(install_.RunUninstaller(L"/s"));
  EXPECT_FALSE(Exists(install_.folder()));
  EXPECT_TRUE(IsFolder(install_.outside()));
}

TEST_F(UninstallTest, ConfirmedRunAsksAboutTheFolderThenReportsSuccess) {
  const vexo::test::UninstallerRun run = install_.RunUninstaller(L"", {IDYES});

  ExpectRemovedFinished(run);
  ASSERT_EQ(run.outcome.boxes.size(), 2u);
  EXPECT_TRUE(Contains(run.outcome.boxes[0].text, install_.folder()));
  EXPECT_TRUE(Contains(run.outcome.boxes[1].text, L"已从您的计算机中卸载"));
}

// A file that cannot be deleted because it is in use: the running client, or a data file another program
// holds open.
struct InUseCase {
  const char* name;
  const wchar_t* entry;
  bool is_process;  // the holder is the client's process, ended to let go; otherwise an open file
};

class InUseTest : public UninstallTest, public testing::WithParamInterface<InUseCase> {
 protected:
  vexo::win::ScopedHandle Hold() const {
    if (GetParam().is_process) return install_.StartClient();
    return vexo::win::ScopedHandle(::CreateFileW(Installed(GetParam().entry).c_str(), GENERIC_READ,
                                                 FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  }

  void LetGo(vexo::win::ScopedHandle& holder) const {
    if (GetParam().is_process) {
      ::TerminateProcess(holder.get(), 0);
      ::WaitForSingleObject(holder.get(), INFINITE);
    }
    holder.reset();
  }
};

TEST_P(InUseTest, IsReportedAndEverythingNeededToRetryStays) {
  const std::wstring in_use = GetParam().entry;
  vexo::win::ScopedHandle holder = Hold();
  ASSERT_TRUE(holder);

  const vexo::test::UninstallerRun first = install_.RunUninstaller(L"", {IDYES});

  EXPECT_EQ(first.outcome.exit_code, static_cast<DWORD>(uninstall::kIncomplete));
  ASSERT_EQ(first.outcome.boxes.size(), 2u);
  EXPECT_TRUE(Contains(first.outcome.boxes[1].text, in_use));
  EXPECT_TRUE(Contains(first.outcome.boxes[1].text, L"请先关闭 Vexo助手"));
  for (const std::wstring& entry : install_.listed()) {
    const bool stays = entry == in_use || entry == product::kUninstallerExeName || entry == product::kUninstallListName;
    EXPECT_EQ(IsFile(Installed(entry)), stays) << entry;
  }
  for (const wchar_t* key : product::kUninstallKeys) EXPECT_TRUE(StagedInstall::KeyExists(key)) << key;

  LetGo(holder);
  ExpectRemovedFinished(install_.RunUninstaller(L"/S"));
  EXPECT_FALSE(Exists(install_.folder()));
}

INSTANTIATE_TEST_SUITE_P(Holders, InUseTest,
                         testing::Values(InUseCase{"RunningClient", product::kClientExeName, true},
                                         InUseCase{"OpenDataFile", L"data\\nodes\\default.json", false}),
                         [](const testing::TestParamInfo<InUseCase>& info) { return info.param.name; });

// Runs that must remove nothing: the user says no, the command line is not understood, or the list is
// missing or names something outside the install folder (a file beside the folder stands for what such a
// line could reach).
struct NothingRemovedCase {
  const char* name;
  std::wstring arguments;
  std::vector<int> answers;
  // Changes the staged list; given the staged installation and the path of the file beside it.
  std::function<bool(const StagedInstall&, const std::wstring&)> change_list;
  uninstall::ExitCode exit_code;
};

bool KeepList(const StagedInstall&, const std::wstring&) { return true; }

bool AppendLine(const StagedInstall& install, const std::wstring& line) {
  const std::wstring list = install.folder() + product::kUninstallListName;
  return WriteWholeFile(list, ReadWholeFile(list) + Utf8(line) + "\r\n");
}

class NothingRemovedTest : public UninstallTest, public testing::WithParamInterface<NothingRemovedCase> {};

TEST_P(NothingRemovedTest, LeavesTheInstallationAndEverythingAroundIt) {
  const std::wstring beside = install_.outside() + L"victim.txt";
  ASSERT_TRUE(WriteWholeFile(beside, "not the product's"));
  std::vector<std::wstring> listed = install_.listed();
  ASSERT_TRUE(GetParam().change_list(install_, beside));

  const vexo::test::UninstallerRun run = install_.RunUninstaller(GetParam().arguments, GetParam().answers);

  ASSERT_TRUE(run.outcome.started);
  EXPECT_EQ(run.outcome.exit_code, static_cast<DWORD>(GetParam().exit_code));
  EXPECT_EQ(ReadWholeFile(beside), "not the product's");
  for (const std::wstring& entry : listed) {
    if (entry != product::kUninstallListName) {
      EXPECT_TRUE(IsFile(Installed(entry))) << entry;
    }
  }
  ExpectShortcutsAndKeys(true);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, NothingRemovedTest,
    testing::Values(
        NothingRemovedCase{"UserSaysNo", L"", {IDNO}, KeepList, uninstall::kCancelled},
        NothingRemovedCase{"UnknownArgument", L"/X", {}, KeepList, uninstall::kBadCommandLine},
        NothingRemovedCase{"ListMissing", L"/S", {},
                           [](const StagedInstall& install, const std::wstring&) {
                             return ::DeleteFileW((install.folder() + product::kUninstallListName).c_str()) != 0;
                           },
                           uninstall::kListUnusable},
        NothingRemovedCase{"ParentEntry", L"/S", {},
                           [](const StagedInstall& install, const std::wstring&) {
                             return AppendLine(install, L"..\\victim.txt");
                           },
                           uninstall::kListUnusable},
        NothingRemovedCase{"ParentEntryForwardSlash", L"/S", {},
                           [](const StagedInstall& install, const std::wstring&) {
                             return AppendLine(install, L"../victim.txt");
                           },
                           uninstall::kListUnusable},
        NothingRemovedCase{"NestedParentEntry", L"/S", {},
                           [](const StagedInstall& install, const std::wstring&) {
                             return AppendLine(install, L"data\\..\\..\\victim.txt");
                           },
                           uninstall::kListUnusable},
        NothingRemovedCase{"AbsoluteEntry", L"/S", {}, AppendLine, uninstall::kListUnusable}),
    [](const testing::TestParamInfo<NothingRemovedCase>& info) { return info.param.name; });

// Shortcuts and keys of the product's names that belong to another installation stay; those of this one go,
// however their path is spelt. The installation is in the default folder name, as when the installer's
// registry source ends in a backslash and the folder path gets a doubled separator.
struct OwnershipCase {
  const char* name;
  std::function<std::wstring(const StagedInstall&)> registered_folder;
  bool removed;
};

class OwnershipTest : public UninstallTest, public testing::WithParamInterface<OwnershipCase> {
 protected:
  OwnershipTest() : UninstallTest(L"VexoProxy") {}
};

TEST_P(OwnershipTest, OnlyThisInstallationsShortcutsAndKeysGo) {
  const std::wstring registered = GetParam().registered_folder(install_);
  ASSERT_TRUE(StagedInstall::Register(registered, registered));

  const vexo::test::UninstallerRun run = install_.RunUninstaller(L"/S");

  EXPECT_EQ(run.outcome.exit_code, static_cast<DWORD>(uninstall::kRemoved));
  for (const std::wstring& entry : install_.listed()) EXPECT_FALSE(Exists(Installed(entry))) << entry;
  ExpectShortcutsAndKeys(!GetParam().removed);
}

std::wstring Upper(std::wstring text) {
  ::CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

INSTANTIATE_TEST_SUITE_P(
    Spellings, OwnershipTest,
    testing::Values(OwnershipCase{"OtherFolder",
                                  [](const StagedInstall& install) {
                                    const std::wstring other = install.outside() + L"Vexo 其他\\";
                                    ::CreateDirectoryW(other.c_str(), nullptr);
                                    return other;
                                  },
                                  false},
                    OwnershipCase{"DoubledSeparator",
                                  [](const StagedInstall& install) {
                                    return install.outside() + L"\\VexoProxy\\";
                                  },
                                  true},
                    OwnershipCase{"OtherCase",
                                  [](const StagedInstall& install) { return Upper(install.folder()); }, true}),
    [](const testing::TestParamInfo<OwnershipCase>& info) { return info.param.name; });

}  // namespace
