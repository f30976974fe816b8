// Deleting the uninstaller's own file, which Windows keeps while the program runs: a copy in the temporary
// folder waits for the uninstaller to end and deletes it then.
#pragma once

#include <string>

#include "runtime/win/windows_api.h"

namespace vexo::uninstall {

// First argument of the copy's command line, followed by the uninstaller's process handle (decimal) and
// the quoted path of the uninstaller's file.
inline constexpr wchar_t kFinishRemovalArgument[] = L"/finish-removal";

// Copies the running uninstaller (at `uninstaller_path`) into the temporary folder and starts the copy in
// its finishing mode, handing it an inheritable handle to this process. Returns ERROR_SUCCESS when the copy
// runs; otherwise the Windows error, with no copy left behind. The caller should end soon after: the copy
// deletes the file only once this process has ended.
DWORD HandOffSelfRemoval(const std::wstring& uninstaller_path);

// The copy's finishing mode. Waits for the process `original` (the handle is closed here) to end, deletes
// `uninstaller_path` (retrying while Windows still holds the ended program's file, and scheduling it for
// deletion at the next restart if it stays), removes the uninstaller's folder when that is then empty, and
// schedules the copy's own file for deletion at the next restart. Refuses (returns false, touching nothing)
// a path whose file name is not the uninstaller's.
bool FinishSelfRemoval(HANDLE original, const std::wstring& uninstaller_path);

}  // namespace vexo::uninstall
