// Starting another program from a complete command line, waiting for it to end or to become ready.
#pragma once

#include <cstdint>

namespace vexo::sys {

// Starts the program named by the first token of `command_line` (parsed as CreateProcessW does; a path
// with spaces must be quoted by the caller). With `wait_for_exit` the call blocks until the program has
// ended; otherwise it waits at most 500 ms for the program to become ready for input. A `show_mode` of
// 0 or more is the SW_ value for the program's first window; a negative one leaves it to the program.
// Returns 1 when the process was created, 0 for a null or empty command line or when it could not be
// started. The program's exit code is not collected; no handle stays open.
int RunProgram(const wchar_t* command_line, bool wait_for_exit, int show_mode);
// Starts the program of `command_line` as RunProgram does with `show_mode`, waits until it has ended and
// stores its exit code in `exit_code` (when not null). Returns 1 when the process ran to its end, 0 for a
// null or empty command line or when it could not be started or waited for (`exit_code` untouched).
int RunProgramToExit(const wchar_t* command_line, int show_mode, std::uint32_t* exit_code);

}  // namespace vexo::sys
