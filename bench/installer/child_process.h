// The benchmark's helper programs as child processes: found, started and measured from outside.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "runtime/win/scoped_handles.h"

namespace vexo::bench {

// The full path of a program in this program's own folder.
std::wstring SiblingProgram(const wchar_t* name);

// Starts `command_line`; the process handle (empty when it could not be started).
win::ScopedHandle StartProgram(const std::wstring& command_line);

// A process's working set now and its peak so far, in bytes (both 0 when they cannot be read).
struct MemoryFigures {
  std::size_t working_set = 0;
  std::size_t peak = 0;
};

// Opens the process `process_id` for reading its memory figures; empty when it cannot be opened.
win::ScopedHandle OpenForMemoryFigures(DWORD process_id);
// The memory figures of a process opened with OpenForMemoryFigures (or a handle with the same rights).
MemoryFigures ReadMemoryFigures(HANDLE process);

}  // namespace vexo::bench
