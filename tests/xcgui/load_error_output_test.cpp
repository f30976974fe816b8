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

// What a pipe holds now, without waiting for its end: a process the child started may keep a copy of the
// write end open long after the child itself has gone.
std::string ReadAvailable(HANDLE pipe) {
  std::string text;
  DWORD available = 0;
  while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
    std::string chunk(available, '\0');
    DWORD read = 0;
    if (!ReadFile(pipe, chunk.data(), available, &read, nullptr) || read == 0) break;
    text.append(chunk.data(), read);
  }
  return text;
}

// Runs the probe program (next to this test program) on the test archive with these members and waits for
// it to end. With `give_stderr` its standard output and error are pipes read here (its few lines fit in
// a pipe's buffer); otherwise it has neither.
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
  // Only the write ends go to the child.
  SetHandleInformation(error_read.get(), HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(output_read.get(), HANDLE_FLAG_INHERIT, 0);
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
  error_write.reset();
  output_write.reset();
  ProbeRun run;
  if (WaitForSingleObject(process.get(), 30000) != WAIT_OBJECT_0) {
    TerminateProcess(process.get(), 1);
    ADD_FAILURE() << "the probe did not end";
    return run;
  }
  GetExitCodeProcess(process.get(), &run.exit_code);
  if (give_stderr) {
    run.error_output = ReadAvailable(error_read.get());
    run.standard_output = ReadAvailable(output_read.get());
  }
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
