// What an install leaves behind, read independently of the installer for end-to-end checks and the
// demo: the uninstall keys, the shortcuts and the default install folder.
#pragma once

#include <windows.h>

#include <shlobj.h>

#include <string>

namespace vexo::test {

// The two uninstall key paths under HKEY_LOCAL_MACHINE.
inline constexpr const wchar_t* kUninstallPaths[] = {
    L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VexoProxy",
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VexoProxy",
};
// The shell folders that receive a shortcut (desktop, Start menu, its programs folder).
inline constexpr int kShortcutFolders[] = {CSIDL_DESKTOPDIRECTORY, CSIDL_STARTMENU, CSIDL_PROGRAMS};

// The shortcut's path in a shell folder.
std::wstring ShortcutPath(int csidl);

// The default install folder, worked out from the registry's program files folder (this process's
// 32-bit view) with the product folder below it; empty when the registry has none.
std::wstring DefaultInstallFolder();

struct RegistryValue {
  DWORD type = REG_NONE;
  std::wstring text;
  DWORD number = 0;
};
bool KeyExists(const wchar_t* path);
// A value under HKEY_LOCAL_MACHINE; type REG_NONE when missing.
RegistryValue ReadValue(const wchar_t* path, const wchar_t* name);

struct Shortcut {
  bool exists = false;
  std::wstring target;
  std::wstring working_folder;
  DWORD show_command = 0;
};
// Reads a .lnk file: target and working folder through the shell, the show command from the header.
Shortcut ReadShortcut(const std::wstring& path);

// Removes the uninstall keys, the shortcuts and `install_folder` (when not empty) with its content.
void RemoveInstallTraces(const std::wstring& install_folder);

}  // namespace vexo::test
