// Starting another program from a complete command line, waiting for it to end or to become ready.
#pragma once

namespace vexo::sys {

// Starts the program named by the first token of `command_line` (parsed as CreateProcessW does; a path
// with spaces must be quoted by the caller). With `wait_for_exit` the call blocks until the program has
// ended; otherwise it waits at most 500 ms for the program to become ready for input. A `show_mode` of
// 0 or more is the SW_ value for the program's first window; a negative one leaves it to the program.
// Returns 1 when the process was created, 0 for a null or empty command line or when it could not be
// started. The program's exit code is not collected; no handle stays open.
int RunProgram(const wchar_t* command_line, bool wait_for_exit, int show_mode);

}  // namespace vexo::sys
