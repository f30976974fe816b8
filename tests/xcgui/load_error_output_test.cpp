// Load errors of a GUI-subsystem program reach the standard error it was started with: one UTF-8 line
// "xcgui: <member>: <reason>" per failed load, nothing for loads that worked, nothing on standard output.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/win/scoped_handles.h"
#include "tests/xcgui/test_support.h"

namespace xcgui_test {
namespace {

using vexo::win::ScopedHandle;

struct ProbeRun {
  DWORD exit_code = 0xFFFFFFFF;
  std::string error_output;
  std::string standard_output;
};

// Everything written to `pipe` until `process` has ended. A process started by the probe (wine may start
// helpers) can inherit the pipe and keep it open, so the end of the data is the end of the probe.
std::string ReadUntilExit(HANDLE pipe, HANDLE process) {
  std::string text;
  char chunk[4096];
  for (;;) {
    const bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    DWORD available = 0;
    while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
      DWORD read = 0;
      if (!ReadFile(pipe, chunk, sizeof(chunk), &read, nullptr) || read == 0) return text;
      text.append(chunk, read);
    }
    if (ended) return text;
    WaitForSingleObject(process, 20);
  }
}

// Runs the probe program (next to this test program) on the test archive with these members. With
// `give_stderr` its standard output and error are pipes read here; otherwise it has neither.
ProbeRun RunProbe(const std::vector<std::wstring>& members, bool give_stderr) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring program = path;
  program = program.substr(0, program.rfind(L'\\') + 1) + L"xcgui_load_probe.exe";
  std::wstring command = L"\"" + program + L"\" \"" + kArchive + L"\" \"" + kPassword + L"\"";
  for (const std::wstring& member : members) command += L" \"" + member + L"\"";

  SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
  ScopedHandle error_read, error_write, output_read, output_write;
  if (give_stderr && (!CreatePipe(error_read.receive(), error_write.receive(), &inheritable, 0) ||
                      !CreatePipe(output_read.receive(), output_write.receive(), &inheritable, 0))) {
    ADD_FAILURE() << "no pipes";
    return {};
  }
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdError = error_write.get();
  startup.hStdOutput = output_write.get();
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
    ADD_FAILURE() << "the probe did not start: " << GetLastError();
    return {};
  }
  ScopedHandle process(info.hProcess);
  ScopedHandle thread(info.hThread);
  // The child holds the only write ends now: reading ends when it exits.
  error_write.reset();
  output_write.reset();
  ProbeRun run;
  if (give_stderr) {
    // Standard output stays empty (a test below says so), so draining the error pipe is enough to let
    // the probe run to its end.
    run.error_output = ReadUntilExit(error_read.get(), process.get());
    run.standard_output = ReadUntilExit(output_read.get(), process.get());
  }
  EXPECT_EQ(WaitForSingleObject(process.get(), 30000), WAIT_OBJECT_0);
  GetExitCodeProcess(process.get(), &run.exit_code);
  return run;
}

TEST(LoadErrorOutput, EachFailedLoadIsOneLineOnTheStandardError) {
  // Two loads that work (a pack, then a window that uses it) and two that fail.
  ProbeRun run = RunProbe({L"resource.res", L"main.xml", L"bad_window.xml", L"\x7F3A\x5C11.xml"}, true);
  EXPECT_EQ(run.exit_code, 2u);
  EXPECT_EQ(run.standard_output, "");
  std::vector<std::string> lines;
  for (size_t start = 0, end; (end = run.error_output.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(run.error_output.substr(start, end - start));
  }
  ASSERT_EQ(lines.size(), 2u) << run.error_output;
  EXPECT_EQ(lines[0].rfind("xcgui: bad_window.xml: ", 0), 0u) << lines[0];
  EXPECT_NE(lines[0].find("width"), std::string::npos) << lines[0];
  // The member's Chinese name arrives as UTF-8.
  EXPECT_EQ(lines[1].rfind("xcgui: \xE7\xBC\xBA\xE5\xB0\x91.xml: ", 0), 0u) << lines[1];
  EXPECT_NE(lines[1].find("no member"), std::string::npos) << lines[1];
}

TEST(LoadErrorOutput, AProgramWithoutStandardErrorStillLoadsAndFailsNormally) {
  ProbeRun run = RunProbe({L"resource.res", L"bad_window.xml", L"main.xml"}, false);
  EXPECT_EQ(run.exit_code, 1u);
}

}  // namespace
}  // namespace xcgui_test
