// Starting programs: refused command lines, waiting for the end or only for readiness, the show mode the
// child sees, paths with spaces, Chinese characters and 259 characters, and no handle left open.
#include "sys/process_launch.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "runtime/win/windows_api.h"
#include "tests/sys/sys_test_support.h"

namespace {

using vexo::sys::RunProgram;
using vexo::sys::RunProgramToExit;
using vexo::test::ReadWholeFile;

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

std::wstring ChildProgram() { return vexo::test::ExecutableFolder() + L"sys_test_child.exe"; }

// Waits until a file has the expected content; the no-wait tests use it so no child outlives its test.
bool WaitForContent(const std::wstring& path, const std::string& content, DWORD timeout_ms) {
  const DWORD start = ::GetTickCount();
  while (ReadWholeFile(path) != content) {
    if (::GetTickCount() - start > timeout_ms) return false;
    ::Sleep(20);
  }
  return true;
}

TEST(RunProgram, RefusesCommandLinesThatNameNoProgram) {
  vexo::test::ScratchFolder scratch;
  ASSERT_FALSE(scratch.path().empty());
  const std::wstring missing = scratch.path() + L"missing program.exe";
  const std::wstring spaced_unquoted = scratch.path() + L"no such folder\\prog.exe write-after 0 x";
  const wchar_t* cases[] = {nullptr, L"", L"C:\\no\\such\\program.exe", missing.c_str(),
                            spaced_unquoted.c_str(), L"\"\""};
  for (const wchar_t* command_line : cases) {
    SCOPED_TRACE(command_line ? command_line : L"(null)");
    EXPECT_EQ(RunProgram(command_line, true, 1), 0);
    EXPECT_EQ(RunProgram(command_line, false, -1), 0);
  }
}

TEST(RunProgram, WaitForExitReturnsOnlyAfterTheChildHasEnded) {
  vexo::test::ScratchFolder scratch;
  const std::wstring marker = scratch.path() + L"ended.txt";
  const std::wstring command = Quoted(ChildProgram()) + L" write-after 700 " + Quoted(marker);
  ASSERT_EQ(RunProgram(command.c_str(), true, 0), 1);
  EXPECT_EQ(ReadWholeFile(marker), "done");
}

TEST(RunProgram, WithoutWaitReturnsWhileAConsoleChildStillRuns) {
  vexo::test::ScratchFolder scratch;
  const std::wstring marker = scratch.path() + L"ended.txt";
  const std::wstring command = Quoted(ChildProgram()) + L" write-after 3000 " + Quoted(marker);
  const DWORD start = ::GetTickCount();
  ASSERT_EQ(RunProgram(command.c_str(), false, 1), 1);
  const DWORD elapsed = ::GetTickCount() - start;
  EXPECT_EQ(ReadWholeFile(marker), "") << "the call waited for the child to end";
  EXPECT_LT(elapsed, 2500u);
  EXPECT_TRUE(WaitForContent(marker, "done", 15000));
}

TEST(RunProgram, ShowModeReachesTheChildOnlyWhenNotNegative) {
  struct Case {
    int show_mode;
    const char* expected;
  };
  const Case cases[] = {
      {-1, "flags=0 show=0"},
      {-7, "flags=0 show=0"},
      {SW_HIDE, "flags=1 show=0"},
      {SW_SHOWNORMAL, "flags=1 show=1"},
      {SW_SHOWMINNOACTIVE, "flags=1 show=7"},
  };
  vexo::test::ScratchFolder scratch;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.show_mode);
    const std::wstring report = scratch.path() + L"startup-" + std::to_wstring(c.show_mode + 100) + L".txt";
    const std::wstring command = Quoted(ChildProgram()) + L" report-startup " + Quoted(report);
    ASSERT_EQ(RunProgram(command.c_str(), true, c.show_mode), 1);
    EXPECT_EQ(ReadWholeFile(report), c.expected);
  }
}

TEST(RunProgram, QuotedPathsWithSpacesAndChineseCharactersRun) {
  vexo::test::ScratchFolder scratch;
  const std::wstring folder = scratch.path() + L"安装 目录 (x86)\\";
  ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
  const std::wstring program = folder + L"子 程序.exe";
  ASSERT_TRUE(::CopyFileW(ChildProgram().c_str(), program.c_str(), FALSE));
  const std::wstring marker = folder + L"完成 标记.txt";
  const std::wstring command = Quoted(program) + L" write-after 0 " + Quoted(marker);
  ASSERT_EQ(RunProgram(command.c_str(), true, SW_HIDE), 1);
  EXPECT_EQ(ReadWholeFile(marker), "done");
}

TEST(RunProgram, ProgramPathOf259CharactersRunsWhenWindowsTakesIt) {
  vexo::test::ScratchFolder scratch;
  std::wstring folder = scratch.path();
  while (folder.size() < 239) folder += std::wstring(std::min<std::size_t>(40, 239 - folder.size()), L'd') + L"\\";
  ASSERT_TRUE(::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr) == ERROR_SUCCESS);
  std::wstring program = folder + L"c";
  program += std::wstring(259 - program.size() - 4, L'x') + L".exe";
  ASSERT_EQ(program.size(), 259u);
  ASSERT_TRUE(::CopyFileW(ChildProgram().c_str(), program.c_str(), FALSE));
  const std::wstring marker = scratch.path() + L"ran.txt";
  const int result = RunProgram((Quoted(program) + L" write-after 0 " + Quoted(marker)).c_str(), true, 0);
  EXPECT_EQ(result == 1, ReadWholeFile(marker) == "done");
}

TEST(RunProgram, LeavesNoHandleOpen) {
  vexo::test::ScratchFolder scratch;
  auto command_writing = [&](int n) {
    return Quoted(ChildProgram()) + L" write-after 0 " + Quoted(scratch.path() + std::to_wstring(n) + L".txt");
  };
  ASSERT_EQ(RunProgram(command_writing(0).c_str(), true, 0), 1);  // the first run loads what later runs reuse
  const int before = vexo::test::CountOpenHandles();
  for (int i = 1; i <= 5; ++i) {
    ASSERT_EQ(RunProgram(command_writing(i).c_str(), true, 0), 1);
    ASSERT_EQ(RunProgram(command_writing(i + 10).c_str(), false, 0), 1);
    EXPECT_EQ(RunProgram(L"C:\\no\\such\\program.exe", true, 0), 0);
  }
  for (int i = 1; i <= 5; ++i) {
    EXPECT_TRUE(WaitForContent(scratch.path() + std::to_wstring(i + 10) + L".txt", "done", 15000));
  }
  EXPECT_EQ(vexo::test::CountOpenHandles(), before);
}

}  // namespace

TEST(RunProgramToExit, ReportsTheExitCodeOnceTheChildHasEnded) {
  vexo::test::ScratchFolder scratch;
  const std::wstring marker = scratch.path() + L"ended.txt";
  const std::wstring slow = Quoted(ChildProgram()) + L" write-after 500 " + Quoted(marker);
  std::uint32_t code = 77;
  ASSERT_EQ(RunProgramToExit(slow.c_str(), 0, &code), 1);
  EXPECT_EQ(ReadWholeFile(marker), "done");
  EXPECT_EQ(code, 0u);

  for (std::uint32_t expected : {1u, 2u, 255u, 3221225477u}) {
    const std::wstring command = Quoted(ChildProgram()) + L" exit " + std::to_wstring(expected);
    code = 0;
    EXPECT_EQ(RunProgramToExit(command.c_str(), 0, &code), 1);
    EXPECT_EQ(code, expected);
  }
}

TEST(RunProgramToExit, LeavesTheCodeAloneWhenNothingCouldBeStarted) {
  const wchar_t* cases[] = {nullptr, L"", L"C:\\no\\such\\program.exe"};
  for (const wchar_t* command_line : cases) {
    std::uint32_t code = 42;
    EXPECT_EQ(RunProgramToExit(command_line, 0, &code), 0);
    EXPECT_EQ(code, 42u);
  }
}
