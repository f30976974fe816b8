// Deleting one file the uninstaller is responsible for.
#pragma once

#include <string>

#include "runtime/win/windows_api.h"

namespace vexo::uninstall {

// Deletes the file at `path`, clearing a read-only attribute first when that is what stops it. Returns
// ERROR_SUCCESS when the file is gone afterwards, also when it did not exist; otherwise the Windows error
// of the failed deletion (the file then stays as it was).
DWORD RemoveFile(const std::wstring& path);

}  // namespace vexo::uninstall
