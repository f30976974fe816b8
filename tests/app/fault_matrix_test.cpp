// The fault matrix: the real Install.exe meets each failure of the field. Every case must end within its
// bound on the progress page with its own message and the retry button, register nothing, link nothing,
// write nothing outside the install folder; the retry then succeeds once the cause is gone, and closing
// the window ends the process with exit code 0. The matrix is printed at the end of the run.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "tests/app/install_traces.h"
#include "tests/app/installer_driver.h"
#include "tests/app/zip_writer.h"
#include "tests/sys/sys_test_support.h"
#include "tests/xcgui/screen.h"

namespace {

using vexo::test::Element;
using vexo::test::Utf8;
using vexo::test::InstallerDriver;
using vexo::test::IsFile;

std::vector<std::string>& MatrixLines() {
  static std::vector<std::string> lines;
  return lines;
}

class PrintMatrix : public ::testing::Environment {
 public:
  void TearDown() override {
    std::printf("\nFault matrix (%zu cases):\n", MatrixLines().size());
    for (const std::string& line : MatrixLines()) std::printf("  %s\n", line.c_str());
  }
};
const auto* const kPrinter = ::testing::AddGlobalTestEnvironment(new PrintMatrix);

// The line after "shown: " in the log: the message the progress page showed.
std::string ShownMessage(const std::string& log) {
  const std::size_t at = log.rfind("shown: ");
  if (at == std::string::npos) return std::string();
  const std::size_t end = log.find("\r\n", at);
  return log.substr(at + 7, end == std::string::npos ? std::string::npos : end - at - 7);
}

// Sets the registry value that decides the default install folder, and puts the old one back.
class ProgramFilesPath {
 public:
  explicit ProgramFilesPath(const std::wstring& folder) {
    had_ = ::RegGetValueW(HKEY_LOCAL_MACHINE, kKey, L"ProgramFilesPath", RRF_RT_ANY | RRF_NOEXPAND, &type_, old_,
                          &size_) == ERROR_SUCCESS;
    ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, kKey, L"ProgramFilesPath", REG_SZ, folder.c_str(),
                      static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
  }
  ~ProgramFilesPath() {
    if (had_) {
      ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, kKey, L"ProgramFilesPath", type_, old_, size_);
    } else {
      ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kKey, L"ProgramFilesPath");
    }
  }

 private:
  static constexpr const wchar_t* kKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
  bool had_ = false;
  DWORD type_ = REG_NONE;
  BYTE old_[1024] = {};
  DWORD size_ = sizeof(old_);
};

// One row of the matrix: how to cause the failure, what the installer must say, how to remove the cause.
struct FaultCase {
  const char* name;
  const char* package_mode;     // the package listener's mode while the failure lasts
  const char* outcome;          // the outcome the log names
  const wchar_t* words;         // a part of the message the user reads
  std::function<void()> cause;  // besides the mode; may be empty
  std::function<void()> cure;   // removes the cause before the retry; may be empty
  DWORD bound_ms = 60000;       // the failure must be shown within this time
};

class FaultMatrix : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = vexo::test::DefaultInstallFolder();
    ASSERT_FALSE(folder_.empty());
    vexo::test::RemoveInstallTraces(folder_);
    vexo::test::SetPackageMode("ok");
  }
  void TearDown() override {
    vexo::test::RemoveInstallTraces(folder_);
    vexo::test::SetPackageMode("ok");
  }

  // Runs one row against a fresh installer whose install folder is `folder` (empty: the default).
  void Run(const FaultCase& c, std::wstring folder = L"") {
    SCOPED_TRACE(c.name);
    if (folder.empty()) folder = folder_;
    const auto begin = std::chrono::steady_clock::now();
    vexo::test::RemoveInstallTraces(folder);
    vexo::test::SetPackageMode(c.package_mode);
    if (c.cause) c.cause();
    InstallerDriver installer;
    ASSERT_TRUE(installer.started());
    installer.Click(Element::kInstall);
    const std::string outcome = installer.WaitForOutcome(c.bound_ms);
    const auto failed_after = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - begin);
    EXPECT_EQ(outcome, c.outcome) << installer.Log();
    // The worker logs the outcome before the UI thread shows the failure page and logs its message; the
    // retry button can be clicked only after that.
    std::string shown;
    for (int waited_ms = 0; (shown = ShownMessage(installer.Log())).empty() && waited_ms < 10000; waited_ms += 100) {
      ::Sleep(100);
    }
    EXPECT_NE(shown.find(Utf8(c.words)), std::string::npos) << shown;
    for (const wchar_t* path : vexo::test::kUninstallPaths) EXPECT_FALSE(vexo::test::KeyExists(path)) << Utf8(path);
    for (int csidl : vexo::test::kShortcutFolders) EXPECT_FALSE(IsFile(vexo::test::ShortcutPath(csidl)));
    EXPECT_FALSE(IsFile(folder + L"..\\escaped.txt"));
    EXPECT_FALSE(IsFile(L"C:\\vexo-absolute.txt"));
    EXPECT_FALSE(IsFile(installer.temp_folder() + L"VexoProxy_temp\\installpack.zip.part"));

    std::string retried = "no retry";
    if (c.cure) c.cure();
    vexo::test::SetPackageMode("ok");
    installer.Click(Element::kRetry);
    retried = installer.WaitForOutcomeCount(2);
    EXPECT_EQ(retried, "installed") << installer.Log();
    EXPECT_TRUE(IsFile(folder + L"VexoClient.exe"));
    installer.Click(Element::kClose);
    const long exit_code = installer.WaitForExit();
    EXPECT_EQ(exit_code, 0);
    MatrixLines().push_back(std::string(c.name) + ": \"" + shown + "\" (" + outcome + ", after " +
                            std::to_string(failed_after.count()) + " s) -> retry: " + retried +
                            " -> close: exit " + std::to_string(exit_code));
    vexo::test::RemoveInstallTraces(folder);
  }

  std::wstring folder_;
};

TEST_F(FaultMatrix, TheServerAndTheNetwork) {
  const FaultCase cases[] = {
      {"server down", "down", "no-connection", L"无法连接到下载服务器", {}, {}},
      {"HTTP 404", "status-404", "http-status", L"HTTP 404", {}, {}},
      {"HTTP 500", "status-500", "http-status", L"HTTP 500", {}, {}},
      {"HTTP 403", "status-403", "http-status", L"HTTP 403", {}, {}},
      {"redirect loop", "redirect-loop", "too-many-redirects", L"重定向", {}, {}},
      {"certificate of another CA", "other-ca", "secure-connection", L"证书无法验证", {}, {}},
      {"certificate for another host name", "other-host", "secure-connection", L"证书无法验证", {}, {}},
      {"body cut off", "cut", "connection-lost", L"网络连接中断", {}, {}},
      {"empty body", "empty", "damaged-package", L"安装包已损坏", {}, {}},
  };
  for (const FaultCase& c : cases) Run(c);
}

TEST_F(FaultMatrix, ThePackage) {
  const FaultCase cases[] = {
      {"signature missing", "no-signature", "signature-missing", L"缺少数字签名", {}, {}},
      {"signature of another package", "bad-signature", "signature-invalid", L"数字签名无效", {}, {}},
      {"corrupt archive", "corrupt", "unpack-failed", L"解压安装包失败", {}, {}},
      {"entry with ..", "dotdot", "unsafe-package", L"不安全的文件路径", {}, {}},
      {"entry with an absolute path", "absolute", "unsafe-package", L"不安全的文件路径", {}, {}},
  };
  for (const FaultCase& c : cases) Run(c);
}

// Puts a program that fails in place of the system folder's 7z.exe, and the real one back.
class SevenZipReplaced {
 public:
  SevenZipReplaced() {
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    path_ = std::wstring(system) + L"\\7z.exe";
    ::MoveFileExW(path_.c_str(), (path_ + L".real").c_str(), MOVEFILE_REPLACE_EXISTING);
    // The test child ends with exit code 2 for a command it does not know, such as 7-Zip's "x".
    ::CopyFileW((vexo::test::ExecutableFolder() + L"..\\sys\\sys_test_child.exe").c_str(), path_.c_str(), FALSE);
  }
  ~SevenZipReplaced() { Restore(); }
  void Restore() {
    if (restored_) return;
    restored_ = true;
    ::MoveFileExW((path_ + L".real").c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING);
  }

 private:
  std::wstring path_;
  bool restored_ = false;
};

// Makes the uninstall key refuse the product's entry: "Uninstall" is put back as a volatile key, under which
// Windows creates no lasting key (ERROR_CHILD_MUST_BE_VOLATILE). Registry permissions would be the field's
// cause, but wine does not enforce them. What the key held is kept in a copy beside it and put back.
class UninstallKeyRefusing {
 public:
  UninstallKeyRefusing() {
    HKEY saved = nullptr;
    if (::RegCreateKeyW(HKEY_LOCAL_MACHINE, kSaved, &saved) != ERROR_SUCCESS) return;
    const bool copied = ::RegCopyTreeW(HKEY_LOCAL_MACHINE, kUninstall, saved) == ERROR_SUCCESS;
    ::RegCloseKey(saved);
    if (!copied) return;
    Remove(kUninstall);
    HKEY key = nullptr;
    ready_ = ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kUninstall, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                               nullptr, &key, nullptr) == ERROR_SUCCESS;
    if (key != nullptr) ::RegCloseKey(key);
  }
  ~UninstallKeyRefusing() { Restore(); }
  bool ready() const { return ready_; }
  void Restore() {
    if (restored_) return;
    restored_ = true;
    Remove(kUninstall);
    HKEY key = nullptr;
    if (::RegCreateKeyW(HKEY_LOCAL_MACHINE, kUninstall, &key) != ERROR_SUCCESS) return;
    const bool copied = ::RegCopyTreeW(HKEY_LOCAL_MACHINE, kSaved, key) == ERROR_SUCCESS;
    ::RegCloseKey(key);
    if (copied) Remove(kSaved);
  }

 private:
  static void Remove(const wchar_t* path) {
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, path);
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, path);
  }
  static constexpr const wchar_t* kUninstall =
      L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
  static constexpr const wchar_t* kSaved =
      L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall.vexo-saved";
  bool ready_ = false;
  bool restored_ = false;
};

TEST_F(FaultMatrix, TheMachine) {
  {
    UninstallKeyRefusing refusing;
    ASSERT_TRUE(refusing.ready());
    Run({"uninstall key not writable", "ok", "registration-failed", L"写入卸载信息", {},
         [&] { refusing.Restore(); }});
  }
  {
    SevenZipReplaced failing;
    Run({"7z.exe fails", "ok", "unpack-failed", L"解压安装包失败", {}, [&] { failing.Restore(); }});
  }
  {
    // The install folder cannot be created: a file stands where its parent folder would be.
    vexo::test::ScratchFolder scratch;
    const std::wstring blocked = scratch.path() + L"blocked";
    ASSERT_TRUE(vexo::test::WriteWholeFile(blocked, "a file, not a folder"));
    ProgramFilesPath program_files(blocked);
    Run({"install folder not writable", "ok", "unpack-failed", L"不可写入", {},
         [&] { ::DeleteFileW(blocked.c_str()); }},
        blocked + L"\\VexoProxy\\");
  }
}

}  // namespace

namespace {

// A small drive of its own: a size-limited tmpfs on the build machine, mapped as drive V: in the prefix.
class SmallDrive {
 public:
  SmallDrive() {
    wchar_t prefix[MAX_PATH] = {};
    ::GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH);
    mount_ = "/tmp/vexo-small-drive-" + std::to_string(::GetCurrentProcessId());
    link_ = Utf8(prefix) + "/dosdevices/v:";
    ready_ = prefix[0] != L'\0' &&
             xcgui_test::RunHostProgram("mkdir -p " + mount_ + " && mount -t tmpfs -o size=512k tmpfs " + mount_ +
                                        " && ln -sfn " + mount_ + " '" + link_ + "'");
  }
  ~SmallDrive() { xcgui_test::RunHostProgram("rm -f '" + link_ + "'; umount " + mount_ + "; rmdir " + mount_); }
  bool ready() const { return ready_ && vexo::test::IsFolder(L"V:\\"); }
  void Grow() { xcgui_test::RunHostProgram("mount -o remount,size=16m " + mount_); }

 private:
  std::string mount_;
  std::string link_;
  bool ready_ = false;
};

}  // namespace

// The slow rows: a stall is noticed only after the stall limit, on every automatic retry.
TEST_F(FaultMatrix, SlowTheStalledBodyAndTheFullDisk) {
  Run({"body stalled", "stall", "stalled", L"下载停滞", {}, {}, 240000});
  SmallDrive drive;
  ASSERT_TRUE(drive.ready());
  ProgramFilesPath program_files(L"V:");
  Run({"disk full", "ok", "disk-space", L"磁盘空间不足", {}, [&] { drive.Grow(); }}, L"V:\\VexoProxy\\");
}

// A close while the product is unpacked and registered hides the window at once; the process ends only
// when the product is whole.
TEST_F(FaultMatrix, SlowClosingDuringTheUnpackFinishesTheInstallFirst) {
  // The sample package with a large stored member, so that the unpack takes a while.
  const std::wstring big = L"" VEXO_E2E_PACKAGE_DIR L"\\faults\\big.zip";
  ASSERT_TRUE(::CopyFileW(L"" VEXO_E2E_PACKAGE_DIR L"\\installpack.zip", big.c_str(), FALSE));
  ASSERT_TRUE(vexo::test::AddStoredEntry(big, "data/big.bin", 200u << 20));
  // Signed like the sample package, when the build checks signatures.
  ASSERT_TRUE(xcgui_test::RunHostProgram(std::string(VEXO_E2E_SIGN_COMMAND) + " " + VEXO_E2E_PACKAGE_DIR_HOST +
                                         "/faults/big.zip"));
  vexo::test::SetPackageMode("big");
  InstallerDriver installer;
  ASSERT_TRUE(installer.started());
  installer.Click(Element::kInstall);
  for (int waited = 0; waited < 60000 && installer.Log().find("verify:") == std::string::npos; waited += 20) {
    ::Sleep(20);
  }
  ASSERT_NE(installer.Log().find("verify:"), std::string::npos) << installer.Log();
  xcgui_test::Keys("alt+F4");
  ::Sleep(500);
  const bool hidden = !::IsWindowVisible(installer.window());
  const bool still_running = installer.WaitForExit(0) == -1;
  EXPECT_TRUE(hidden);
  EXPECT_TRUE(still_running) << "the close came after the install had ended; the case shows nothing";
  const long exit_code = installer.WaitForExit(120000);
  EXPECT_EQ(exit_code, 0);
  const std::string log = installer.Log();
  EXPECT_NE(log.find("outcome: installed"), std::string::npos) << log;
  EXPECT_TRUE(IsFile(folder_ + L"data\\big.bin"));
  for (const wchar_t* path : vexo::test::kUninstallPaths) EXPECT_TRUE(vexo::test::KeyExists(path));
  for (int csidl : vexo::test::kShortcutFolders) EXPECT_TRUE(IsFile(vexo::test::ShortcutPath(csidl)));
  MatrixLines().push_back(std::string("closed during the unpack: window hidden ") + (hidden ? "at once" : "late") +
                          ", install " + (log.find("outcome: installed") != std::string::npos ? "whole" : "broken") +
                          " -> exit " + std::to_string(exit_code));
  ::DeleteFileW(big.c_str());
  ::DeleteFileW((big + L".sig").c_str());
}
