#include "bench/installer/child_process.h"

#include <psapi.h>

namespace vexo::bench {

std::wstring SiblingProgram(const wchar_t* name) {
  wchar_t self[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, length);
  return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

win::ScopedHandle StartProgram(const std::wstring& command_line) {
  std::wstring writable = command_line;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return win::ScopedHandle();
  }
  const win::ScopedHandle thread(info.hThread);
  return win::ScopedHandle(info.hProcess);
}

win::ScopedHandle OpenForMemoryFigures(DWORD process_id) {
  return win::ScopedHandle(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process_id));
}

MemoryFigures ReadMemoryFigures(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  if (!::GetProcessMemoryInfo(process, &counters, sizeof(counters))) return {};
  return {counters.WorkingSetSize, counters.PeakWorkingSetSize};
}

}  // namespace vexo::bench
