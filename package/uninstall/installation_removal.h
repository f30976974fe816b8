// Removing one installation of the product: its listed files and their folders, its shortcuts and its
// uninstall entry, and nothing else.
#pragma once

#include <string>
#include <vector>

#include "runtime/win/windows_api.h"

namespace vexo::uninstall {

// Something that stayed because deleting it failed.
struct RemovalFailure {
  enum class Kind { kFile, kFolder, kShortcut, kRegistryKey, kUninstaller };
  Kind kind;
  // A file or folder path relative to the install folder, a shortcut's full path, a key path under
  // HKEY_LOCAL_MACHINE, or the uninstaller's file name.
  std::wstring item;
  DWORD error;  // the Windows error of the failed deletion
};

struct RemovalOutcome {
  std::vector<RemovalFailure> failures;
  // True when the shortcuts, the listed files and the uninstall entry are all gone. Only then are the list
  // itself and the uninstaller deleted: until then both stay, so the user can run the uninstaller again.
  bool completed = false;
  // True when the list names the running uninstaller, whose file it cannot delete itself.
  bool uninstaller_listed = false;
};

// Removes the installation in `install_folder` (a path ending in a backslash) that the uninstaller at
// `uninstaller_path` belongs to, following `entries` (plain relative paths, see uninstall_list.h), in this
// order:
// 1. each shortcut "Vexo助手.lnk" in the desktop, Start menu and Start menu programs folders whose target
//    is this folder's client (a shortcut of that name pointing anywhere else is left alone);
// 2. each listed file except the list and the uninstaller (files already missing count as removed);
// 3. if nothing failed so far: both uninstall keys that name this folder as their install location (a key
//    naming another folder is left alone), then, if still nothing failed, the list file;
// 4. the folders of the listed files, deepest first, and the install folder itself, each only when empty.
// The uninstaller's own file is never deleted here. Needs COM initialised on the calling thread.
RemovalOutcome RemoveInstallation(const std::wstring& install_folder, const std::wstring& uninstaller_path,
                                  const std::vector<std::wstring>& entries);

}  // namespace vexo::uninstall
