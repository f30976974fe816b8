// Names and places of the installed product that its own programs share: the client, the uninstaller and
// the installer's registration of them.
#pragma once

#include "sys/special_folder.h"

namespace vexo::product {

inline constexpr wchar_t kDisplayName[] = L"Vexo助手";
inline constexpr wchar_t kVersion[] = L"4.0.1";
inline constexpr wchar_t kClientExeName[] = L"VexoClient.exe";
inline constexpr wchar_t kUninstallerExeName[] = L"Uninstall.exe";
// The list of installed files that travels in the package, one relative path per line, UTF-8.
inline constexpr wchar_t kUninstallListName[] = L"uninstall.lst";
inline constexpr wchar_t kShortcutFileName[] = L"Vexo助手.lnk";

// The special folders (sys/special_folder.h) that each receive one shortcut to the client.
inline constexpr sys::SpecialFolder kShortcutFolders[] = {sys::kDesktop, sys::kStartMenu, sys::kStartMenuPrograms};

// The uninstall entry's keys under HKEY_LOCAL_MACHINE, in the order the installer writes them.
inline constexpr const wchar_t* kUninstallKeys[] = {
    L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VexoProxy",
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VexoProxy",
};
// The value of an uninstall key that names the folder the product was installed into.
inline constexpr wchar_t kInstallLocationValue[] = L"InstallLocation";

}  // namespace vexo::product
