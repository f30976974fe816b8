// The real Install.exe under real input: the default install, choosing a folder, every failure the user
// can meet with its retry, and closing the window during the download. Outcomes are read where they
// land: the file system, the registry, the shortcuts, the process list and the install log.
#include <shlobj.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/app/install_traces.h"
#include "tests/support/proxy_setting.h"
#include "tests/support/test_server.h"
#include "tests/app/installer_driver.h"
#include "tests/sys/folder_dialog_driver.h"
#include "tests/sys/sys_test_support.h"
#include "tests/xcgui/screen.h"

namespace {

constexpr const wchar_t* kDialogTitle = L"请选择安装目录路径";

using vexo::test::Element;
using vexo::test::InstallerDriver;
using vexo::test::IsFile;
using vexo::test::IsFolder;
using vexo::test::kShortcutFolders;
using vexo::test::kUninstallPaths;
using vexo::test::DefaultInstallFolder;
using vexo::test::KeyExists;
using vexo::test::ReadShortcut;
using vexo::test::ReadValue;
using vexo::test::RegistryValue;
using vexo::test::RemoveInstallTraces;
using vexo::test::Shortcut;
using vexo::test::ShortcutPath;

// Nothing of the product is registered or linked.
void ExpectNothingRegistered() {
  for (const wchar_t* path : kUninstallPaths) EXPECT_FALSE(KeyExists(path)) << "key left: " << path;
  for (int folder : kShortcutFolders) EXPECT_FALSE(IsFile(ShortcutPath(folder))) << folder;
}

// Everything the installer promises after a success, for an install into `folder`.
void ExpectInstalledInto(const std::wstring& folder) {
  EXPECT_TRUE(IsFile(folder + L"VexoClient.exe")) << "client missing in " << std::string(folder.begin(), folder.end());
  EXPECT_TRUE(IsFile(folder + L"Uninstall.exe"));
  for (int csidl : kShortcutFolders) {
    const Shortcut shortcut = ReadShortcut(ShortcutPath(csidl));
    EXPECT_TRUE(shortcut.exists) << csidl;
    EXPECT_EQ(shortcut.target, folder + L"VexoClient.exe");
    EXPECT_EQ(shortcut.working_folder, folder);
    EXPECT_EQ(shortcut.show_command, static_cast<DWORD>(SW_SHOW));
  }
  const struct {
    const wchar_t* name;
    DWORD type;
    std::wstring text;
    DWORD number;
  } values[] = {
      {L"DisplayName", REG_SZ, L"Vexo助手", 0},
      {L"Publisher", REG_SZ, L"Vexo网络科技有限公司", 0},
      {L"DisplayVersion", REG_SZ, L"4.0.1", 0},
      {L"DisplayIcon", REG_SZ, folder + L"VexoClient.exe", 0},
      {L"UninstallString", REG_SZ, folder + L"Uninstall.exe", 0},
      {L"InstallLocation", REG_SZ, folder, 0},
      {L"EstimatedSize", REG_DWORD, L"", 20480},
  };
  for (const wchar_t* path : kUninstallPaths) {
    for (const auto& expected : values) {
      const RegistryValue value = ReadValue(path, expected.name);
      EXPECT_EQ(value.type, expected.type) << expected.name;
      EXPECT_EQ(value.text, expected.text) << expected.name;
      EXPECT_EQ(value.number, expected.number) << expected.name;
    }
  }
}

class InstallerEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    default_folder_ = DefaultInstallFolder();
    ASSERT_FALSE(default_folder_.empty());
    RemoveInstallTraces(default_folder_);
    vexo::test::SetPackageMode("ok");
  }
  void TearDown() override {
    RemoveInstallTraces(default_folder_);
    vexo::test::SetPackageMode("ok");
  }

  // The test server's listener ports by name.
  static std::map<std::string, long> ServerPorts() { return vexo::test::ReadServerPorts(L"" VEXO_E2E_SERVER_DIR_W); }

  // Installs with `setting` as the user's proxy setting for Windows and checks that the download went
  // through the test server's proxy listener, whose log shows the tunnel to the package port.
  void ExpectInstallThroughProxyListener(const vexo::test::ProxySetting& setting) {
    const std::map<std::string, long> ports = ServerPorts();
    ASSERT_EQ(ports.count("package"), 1u);
    const std::wstring log = std::wstring(L"" VEXO_E2E_SERVER_DIR_W) + L"\\proxy-requests.log";
    ::DeleteFileW(log.c_str());
    vexo::test::ScopedProxySetting proxy(setting);
    ASSERT_TRUE(proxy.ok());
    InstallerDriver installer;
    ASSERT_TRUE(installer.started());
    installer.Click(Element::kInstall);
    ASSERT_EQ(installer.WaitForOutcome(), "installed") << installer.Log();
    EXPECT_NE(installer.Log().find("through proxy http://127.0.0.1:"), std::string::npos) << installer.Log();
    EXPECT_NE(vexo::test::ReadWholeFile(log).find("CONNECT localhost:" + std::to_string(ports.at("package"))),
              std::string::npos);
    ExpectInstalledInto(default_folder_);
  }

  std::wstring default_folder_;
};

TEST_F(InstallerEndToEnd, DefaultInstallThenLaunch) {
  InstallerDriver installer;
  ASSERT_TRUE(installer.started());
  EXPECT_NE(installer.Log().find("start: install folder"), std::string::npos);
  EXPECT_TRUE(IsFolder(default_folder_)) << "the install folder is created at start";
  EXPECT_TRUE(IsFolder(installer.temp_folder() + L"VexoProxy_Backup\\"));
  EXPECT_TRUE(IsFile(installer.temp_folder() + L"VexoInstallUI\\resource.zip"));

  installer.Click(Element::kInstall);
  ASSERT_EQ(installer.WaitForOutcome(), "installed") << installer.Log();
  ExpectInstalledInto(default_folder_);
  EXPECT_TRUE(IsFile(installer.temp_folder() + L"VexoProxy_temp\\installpack.zip"));

  installer.Click(Element::kLaunch);
  EXPECT_EQ(installer.WaitForExit(), 0);
  // The client's own window shows up; close it again.
  HWND client = nullptr;
  for (int waited = 0; waited < 10000 && client == nullptr; waited += 100) {
    client = ::FindWindowW(nullptr, L"Vexo助手");
    ::Sleep(100);
  }
  ASSERT_NE(client, nullptr) << "the installed client did not start";
  DWORD client_id = 0;
  ::GetWindowThreadProcessId(client, &client_id);
  HANDLE client_process = ::OpenProcess(SYNCHRONIZE, FALSE, client_id);
  ::PostMessageW(client, WM_CLOSE, 0, 0);
  if (client_process != nullptr) {
    EXPECT_EQ(::WaitForSingleObject(client_process, 10000), WAIT_OBJECT_0);
    ::CloseHandle(client_process);
  }
}

// The dialog opens on the current install folder each time: choosing "the first subfolder" twice walks
// down two levels, which only happens when the second opening starts on the first choice.
TEST_F(InstallerEndToEnd, TheCloseControlEndsTheInstallerWithNothingInstalled) {
  InstallerDriver installer;
  ASSERT_TRUE(installer.started());
  installer.Click(Element::kClose);
  EXPECT_EQ(installer.WaitForExit(), 0);
  ExpectNothingRegistered();
  EXPECT_FALSE(IsFile(default_folder_ + L"VexoClient.exe"));
  EXPECT_NE(installer.Log().find("exit: window closed"), std::string::npos);
}

TEST_F(InstallerEndToEnd, AChosenFolderWithAChineseNameReceivesTheInstall) {
  const std::wstring first = default_folder_ + L"中文目录\\";
  const std::wstring second = first + L"子目录\\";
  InstallerDriver installer;
  ASSERT_TRUE(installer.started());
  ASSERT_TRUE(::CreateDirectoryW(first.c_str(), nullptr));
  ASSERT_TRUE(::CreateDirectoryW(second.c_str(), nullptr));

  const auto browse = [&](vexo::test::FolderDialogDriver::Gesture gesture) {
    vexo::test::FolderDialogDriver driver(installer.ui_thread(), kDialogTitle, gesture);
    installer.Click(Element::kBrowse);
    const auto seen = driver.Finish();
    EXPECT_TRUE(seen.dialog_found);
    EXPECT_TRUE(seen.closed_by_gesture);
  };
  browse(vexo::test::FolderDialogDriver::Gesture::kClickCancel);
  browse(vexo::test::FolderDialogDriver::Gesture::kOpenFirstSubfolderAndPressEnter);
  browse(vexo::test::FolderDialogDriver::Gesture::kOpenFirstSubfolderAndPressEnter);
  browse(vexo::test::FolderDialogDriver::Gesture::kClickCancel);

  installer.Click(Element::kInstall);
  ASSERT_EQ(installer.WaitForOutcome(), "installed") << installer.Log();
  ExpectInstalledInto(second);
  EXPECT_FALSE(IsFile(default_folder_ + L"VexoClient.exe"));
  EXPECT_FALSE(IsFile(first + L"VexoClient.exe"));
}

// A download that breaks off at 40 % is retried by itself; the install ends on the done page without a
// click on retry, whether the server continues the bytes, ignores the range or answers it wrongly.
TEST_F(InstallerEndToEnd, ABrokenDownloadIsRetriedAndResumedByItself) {
  const struct {
    const char* mode;
    bool resumed;  // the log says the server continued the package
  } cases[] = {{"drop-once", true}, {"drop-once-ignore-range", false}, {"drop-once-wrong-start", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    RemoveInstallTraces(default_folder_);
    vexo::test::SetPackageMode(c.mode);
    InstallerDriver installer;
    ASSERT_TRUE(installer.started());
    installer.Click(Element::kInstall);
    EXPECT_EQ(installer.WaitForOutcome(), "installed") << installer.Log();
    const std::string log = installer.Log();
    EXPECT_NE(log.find("attempt from byte 0"), std::string::npos);
    EXPECT_EQ(log.find("the server continued the package") != std::string::npos, c.resumed) << log;
    EXPECT_NE(vexo::test::PackageRequests().find("bytes="), std::string::npos) << "a retry asked for a range";
    ExpectInstalledInto(default_folder_);
  }
}

// With a proxy set up for Windows, the download goes through it.
TEST_F(InstallerEndToEnd, TheDownloadGoesThroughTheUsersProxy) {
  const std::map<std::string, long> ports = ServerPorts();
  ASSERT_EQ(ports.count("proxy"), 1u);
  ExpectInstallThroughProxyListener(
      {vexo::test::kProxyDirect | vexo::test::kProxyUseServer, "127.0.0.1:" + std::to_string(ports.at("proxy")), "", ""});
}

// With automatic configuration set up for Windows, the download goes where the script's answer (asked
// while the start page shows) says.
TEST_F(InstallerEndToEnd, TheDownloadFollowsTheUsersConfigurationScript) {
  const std::map<std::string, long> ports = ServerPorts();
  ASSERT_EQ(ports.count("proxy"), 1u);
  ASSERT_EQ(ports.count("http"), 1u);
  const std::string script = "http://127.0.0.1:" + std::to_string(ports.at("http")) + "/pac/PROXY%20127.0.0.1:" +
                             std::to_string(ports.at("proxy")) + "?tag=e2e-script";
  ExpectInstallThroughProxyListener({vexo::test::kProxyDirect | vexo::test::kProxyUseScript, "", "", script});
}

TEST_F(InstallerEndToEnd, ASecondInstallerHandsOverToTheFirstAndEnds) {
  InstallerDriver first;
  ASSERT_TRUE(first.started());
  std::wstring command = L"\"" + vexo::test::InstallerPath() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info));
  ::CloseHandle(info.hThread);
  EXPECT_EQ(::WaitForSingleObject(info.hProcess, 10000), WAIT_OBJECT_0);
  DWORD code = 1;
  ::GetExitCodeProcess(info.hProcess, &code);
  ::CloseHandle(info.hProcess);
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(first.WaitForExit(0), -1) << "the first installer still runs";
  EXPECT_EQ(::GetForegroundWindow(), first.window());
}

// Moves the system folder's 7z.exe aside for one test.
class SevenZipHidden {
 public:
  SevenZipHidden() {
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    path_ = std::wstring(system) + L"\\7z.exe";
    moved_ = ::MoveFileExW(path_.c_str(), (path_ + L".hidden").c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
  }
  ~SevenZipHidden() {
    if (moved_) ::MoveFileExW((path_ + L".hidden").c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING);
  }
  bool moved() const { return moved_; }

 private:
  std::wstring path_;
  bool moved_ = false;
};

TEST_F(InstallerEndToEnd, WithoutSevenZipTheBuiltInUnpackInstalls) {
  SevenZipHidden hidden;
  ASSERT_TRUE(hidden.moved());
  InstallerDriver installer;
  ASSERT_TRUE(installer.started());
  installer.Click(Element::kInstall);
  ASSERT_EQ(installer.WaitForOutcome(), "installed") << installer.Log();
  EXPECT_NE(installer.Log().find("unpack: built-in extraction"), std::string::npos);
  ExpectInstalledInto(default_folder_);
}

TEST_F(InstallerEndToEnd, ATemporaryFolderWithASpaceStillUnpacks) {
  vexo::test::ScratchFolder scratch;
  const std::wstring temp = scratch.path() + L"Temp Folder With Space\\";
  ASSERT_TRUE(::CreateDirectoryW(temp.c_str(), nullptr));
  InstallerDriver installer(temp);
  ASSERT_TRUE(installer.started());
  installer.Click(Element::kInstall);
  ASSERT_EQ(installer.WaitForOutcome(), "installed") << installer.Log();
  EXPECT_TRUE(IsFile(temp + L"VexoProxy_temp\\installpack.zip"));
  ExpectInstalledInto(default_folder_);
}

TEST_F(InstallerEndToEnd, ClosingDuringTheDownloadEndsAtOnceWithNothingRegistered) {
  vexo::test::SetPackageMode("slow");
  InstallerDriver installer;
  ASSERT_TRUE(installer.started());
  installer.Click(Element::kInstall);
  for (int waited = 0; waited < 10000 && vexo::test::PackageRequests().find("slow") == std::string::npos;
       waited += 50) {
    ::Sleep(50);
  }
  ASSERT_NE(vexo::test::PackageRequests().find("slow"), std::string::npos);
  xcgui_test::Keys("alt+F4");
  EXPECT_EQ(installer.WaitForExit(), 0);
  ExpectNothingRegistered();
  EXPECT_FALSE(IsFile(installer.temp_folder() + L"VexoProxy_temp\\installpack.zip"));
}

}  // namespace
