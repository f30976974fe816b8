#include "tests/app/install_traces.h"

#include <shlobj.h>

#include "runtime/win/com_ptr.h"
#include "tests/sys/sys_test_support.h"

namespace vexo::test {

namespace {

std::wstring Folder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  ::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return std::wstring(path) + L"\\";
}

}  // namespace

std::wstring ShortcutPath(int csidl) { return Folder(csidl) + L"Vexo助手.lnk"; }

std::wstring DefaultInstallFolder() {
  wchar_t value[MAX_PATH] = {};
  DWORD size = sizeof(value);
  if (::RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", L"ProgramFilesDir",
                     RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) {
    return std::wstring();
  }
  return std::wstring(value) + L"\\VexoProxy\\";
}

bool KeyExists(const wchar_t* path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

RegistryValue ReadValue(const wchar_t* path, const wchar_t* name) {
  RegistryValue value;
  BYTE data[2048] = {};
  DWORD size = sizeof(data) - 2;
  if (::RegGetValueW(HKEY_LOCAL_MACHINE, path, name, RRF_RT_ANY | RRF_NOEXPAND, &value.type, data, &size) !=
      ERROR_SUCCESS) {
    return value;
  }
  if (value.type == REG_SZ) value.text = reinterpret_cast<const wchar_t*>(data);
  if (value.type == REG_DWORD) value.number = *reinterpret_cast<const DWORD*>(data);
  return value;
}

Shortcut ReadShortcut(const std::wstring& path) {
  Shortcut shortcut;
  const std::string bytes = vexo::test::ReadWholeFile(path);
  if (bytes.size() < 0x40) return shortcut;
  shortcut.exists = true;
  // The header's show command field (wine reads a stored SW_SHOW back differently through the interface).
  shortcut.show_command = *reinterpret_cast<const DWORD*>(bytes.data() + 0x3C);
  vexo::win::ScopedComInit com;
  vexo::win::ComPtr<IShellLinkW> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.receive())))) {
    return shortcut;
  }
  vexo::win::ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.receive()))) ||
      FAILED(file->Load(path.c_str(), STGM_READ))) {
    return shortcut;
  }
  // The target from the item id list: wine's GetPath loses characters outside the ANSI code page.
  wchar_t text[MAX_PATH] = {};
  PIDLIST_ABSOLUTE target = nullptr;
  if (SUCCEEDED(link->GetIDList(&target)) && target != nullptr) {
    if (::SHGetPathFromIDListW(target, text)) shortcut.target = text;
    ::CoTaskMemFree(target);
  }
  text[0] = L'\0';
  link->GetWorkingDirectory(text, MAX_PATH);
  shortcut.working_folder = text;
  return shortcut;
}

void RemoveInstallTraces(const std::wstring& install_folder) {
  for (const wchar_t* path : kUninstallPaths) ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, path);
  for (int folder : kShortcutFolders) ::DeleteFileW(ShortcutPath(folder).c_str());
  if (!install_folder.empty()) vexo::test::RemoveTree(install_folder);
}


}  // namespace vexo::test
