#include "sys/process_launch.h"

#include "runtime/pel_mem.h"
#include "runtime/win/scoped_handles.h"
#include "runtime/win/windows_api.h"

namespace vexo::sys {

namespace {

constexpr DWORD kInputIdleWaitMs = 500;

}  // namespace

int RunProgram(const wchar_t* command_line, bool wait_for_exit, int show_mode) {
  if (command_line == nullptr || *command_line == L'\0') return 0;

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (show_mode >= 0) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show_mode);
  }
  // CreateProcessW may write into the command line, so it gets a private copy.
  CPelMem writable;
  writable.AppendWideString(command_line);
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, static_cast<wchar_t*>(writable.GetData()), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info)) {
    return 0;
  }
  win::ScopedHandle process(info.hProcess);
  win::ScopedHandle thread(info.hThread);
  if (wait_for_exit) {
    ::WaitForSingleObject(process.get(), INFINITE);
  } else {
    ::WaitForInputIdle(process.get(), kInputIdleWaitMs);
  }
  thread.reset();
  process.reset();
  return 1;
}

}  // namespace vexo::sys
