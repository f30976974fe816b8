// The 7-Zip console in the prefix's system folder, run the way the installer runs it (hidden, program
// path unquoted, output folder quoted with its trailing backslash, -y -aoa): it unpacks an AES-256 ZIP
// with the right password and refuses a wrong one.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "runtime/win/scoped_handles.h"
#include "tests/platform/fixture_files.h"

namespace vexo::test {
namespace {

constexpr DWORD kSevenZipTimeoutMs = 60000;

std::wstring Widen(const char* text) { return std::wstring(text, text + strlen(text)); }

// Runs a command line hidden and waits; its exit code, or nullopt if it did not start or end in time.
std::optional<DWORD> RunHidden(std::wstring command_line) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info)) {
    return std::nullopt;
  }
  win::ScopedHandle process(info.hProcess);
  win::ScopedHandle thread(info.hThread);
  if (WaitForSingleObject(process.get(), kSevenZipTimeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.get(), 1);
    return std::nullopt;
  }
  DWORD exit_code = 0;
  if (!GetExitCodeProcess(process.get(), &exit_code)) return std::nullopt;
  return exit_code;
}

std::wstring SystemFolder() {
  wchar_t folder[MAX_PATH] = {};
  UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  return std::wstring(folder, length) + L"\\";
}

// A fresh folder under the temporary folder for one test, removed with everything in it afterwards.
class SevenZipTest : public ::testing::TestWithParam<const wchar_t*> {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    root_ = std::filesystem::path(temp) / (L"vexo-7z-test-" + std::to_wstring(GetCurrentProcessId()));
    std::filesystem::remove_all(root_);
    out_ = root_ / GetParam();
    ASSERT_TRUE(std::filesystem::create_directories(out_));
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  // Unpacks the fixture package into the test folder; 7-Zip's exit code.
  std::optional<DWORD> Unpack(const char* password) {
    std::wstring command = SystemFolder() + L"7z.exe x \"" + kPackageZip + L"\" \"-p" + Widen(password) +
                           L"\" -o\"" + out_.wstring() + L"\\\" -y -aoa -bso0 -bsp0";
    return RunHidden(command);
  }

  std::filesystem::path root_;
  std::filesystem::path out_;
};

TEST_P(SevenZipTest, RightPasswordUnpacksEveryMember) {
  std::optional<DWORD> exit_code = Unpack(kPackagePassword);
  ASSERT_TRUE(exit_code) << "7z.exe did not start or did not end";
  EXPECT_EQ(*exit_code, 0u);
  for (const char* name : kPackageMembers) {
    std::optional<std::string> unpacked = ReadWholeFile((out_ / name).make_preferred().wstring());
    std::optional<std::string> original = ReadWholeFile(FixturePath(std::string("package/") + name));
    ASSERT_TRUE(unpacked) << name;
    ASSERT_TRUE(original) << name;
    EXPECT_EQ(*unpacked, *original) << name;
  }
}

TEST_P(SevenZipTest, WrongPasswordFailsAndUnpacksNothing) {
  std::optional<DWORD> exit_code = Unpack("wrong-password");
  ASSERT_TRUE(exit_code) << "7z.exe did not start or did not end";
  EXPECT_EQ(*exit_code, 2u);  // 7-Zip's "fatal error"
  for (const char* name : kPackageMembers) {
    std::optional<std::string> unpacked = ReadWholeFile((out_ / name).make_preferred().wstring());
    std::optional<std::string> original = ReadWholeFile(FixturePath(std::string("package/") + name));
    ASSERT_TRUE(original) << name;
    EXPECT_NE(unpacked, original) << name;
  }
}

// Install folders: plain, and with a blank and Chinese characters as "Program Files (x86)\Vexo助手".
INSTANTIATE_TEST_SUITE_P(OutputFolders, SevenZipTest,
                         ::testing::Values(L"plain", L"Program Files (x86)\\Vexo\x52A9\x624B"),
                         [](const ::testing::TestParamInfo<const wchar_t*>& info) {
                           return info.index == 0 ? std::string("Plain") : std::string("BlankAndChinese");
                         });

}  // namespace
}  // namespace vexo::test
