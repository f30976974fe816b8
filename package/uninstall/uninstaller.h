// Uninstall.exe's run from its command line to its exit code.
#pragma once

namespace vexo::uninstall {

// Exit codes of Uninstall.exe.
enum ExitCode : int {
  kRemoved = 0,          // everything the installation consists of is gone
  kIncomplete = 1,       // some items stayed; the report names them
  kCancelled = 2,        // the user said no; nothing was removed
  kListUnusable = 3,     // the list of installed files is missing, unreadable or refused; nothing was removed
  kBadCommandLine = 4,   // unknown arguments; nothing was removed
};

// Runs the uninstaller for the installation in the folder the program runs from. Arguments (`argv[0]` is
// the program): none asks for confirmation and shows the result in message boxes; "/S" (any case) does
// neither; "/finish-removal HANDLE PATH" is the finishing mode of the temporary copy (self_removal.h).
// The running uninstaller's own file is handed to that copy when the list names it and everything else
// was removed. Returns the exit code.
int RunUninstaller(int argc, wchar_t** argv);

}  // namespace vexo::uninstall
