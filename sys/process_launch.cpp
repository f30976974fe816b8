#include "sys/process_launch.h"

#include "runtime/pel_mem.h"
#include "runtime/win/scoped_handles.h"
#include "runtime/win/windows_api.h"

namespace vexo::sys {

namespace {

constexpr DWORD kInputIdleWaitMs = 500;

// Creates the process of `command_line` with the given first-window show mode; empty holders on failure.
bool StartProcess(const wchar_t* command_line, int show_mode, win::ScopedHandle& process) {
  if (command_line == nullptr || *command_line == L'\0') return false;

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
    return false;
  }
  win::ScopedHandle thread(info.hThread);
  process.reset(info.hProcess);
  return true;
}

}  // namespace

int RunProgram(const wchar_t* command_line, bool wait_for_exit, int show_mode) {
  win::ScopedHandle process;
  if (!StartProcess(command_line, show_mode, process)) return 0;
  if (wait_for_exit) {
    ::WaitForSingleObject(process.get(), INFINITE);
  } else {
    ::WaitForInputIdle(process.get(), kInputIdleWaitMs);
  }
  return 1;
}

int RunProgramToExit(const wchar_t* command_line, int show_mode, std::uint32_t* exit_code) {
  win::ScopedHandle process;
  if (!StartProcess(command_line, show_mode, process)) return 0;
  DWORD code = 0;
  if (::WaitForSingleObject(process.get(), INFINITE) != WAIT_OBJECT_0 || !::GetExitCodeProcess(process.get(), &code)) {
    return 0;
  }
  if (exit_code != nullptr) *exit_code = code;
  return 1;
}

}  // namespace vexo::sys
