#include "app/phases/register.h"

#include <cstdint>

#include "app/install_log.h"
#include "runtime/win/windows_api.h"
#include "sys/registry.h"
#include "sys/shortcut.h"
#include "sys/special_folder.h"

#include <shellapi.h>

namespace vexo::app {

namespace {

constexpr const wchar_t* kShortcutName = L"Vexo助手.lnk";
constexpr std::uint32_t kShortcutFolders[] = {vexo::sys::kDesktop, vexo::sys::kStartMenu,
                                              vexo::sys::kStartMenuPrograms};
constexpr const wchar_t* kUninstallRoots[] = {
    L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\",
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\",
};
constexpr std::uint32_t kEstimatedSizeKb = 20480;

CWString ShortcutPath(std::uint32_t folder) {
  return CWString::Concat(vexo::sys::GetSpecialFolder(folder), kShortcutName);
}

bool WriteText(const CWString& key, const wchar_t* name, const CWString& value) {
  const bool ok = vexo::sys::WriteRegistryText(CWString::Concat(key, name), value) != 0;
  LogFormat(L"register: %s%s = %s -> %s", key.GetText(), name, value.GetText(), ok ? L"ok" : L"failed");
  return ok;
}

bool WriteUninstallEntry(const CWString& key, const ProductRegistration& product) {
  const CWString client = CWString::Concat(product.install_folder, product.client_exe_name);
  bool ok = WriteText(key, L"DisplayName", CWString(L"Vexo助手"));
  ok = WriteText(key, L"Publisher", CWString(L"Vexo网络科技有限公司")) && ok;
  ok = WriteText(key, L"DisplayVersion", product.version) && ok;
  ok = WriteText(key, L"DisplayIcon", client) && ok;
  ok = WriteText(key, L"UninstallString", CWString::Concat(product.install_folder, L"Uninstall.exe")) && ok;
  ok = WriteText(key, L"InstallLocation", product.install_folder) && ok;
  const bool size_ok =
      vexo::sys::WriteRegistryNumber(CWString::Concat(key, L"EstimatedSize"), kEstimatedSizeKb) != 0;
  LogFormat(L"register: %sEstimatedSize = %d -> %s", key.GetText(), static_cast<int>(kEstimatedSizeKb),
            size_ok ? L"ok" : L"failed");
  return ok && size_ok;
}

// Takes back everything RegisterProduct may have written.
void RemoveRegistration(const ProductRegistration& product) {
  for (std::uint32_t folder : kShortcutFolders) ::DeleteFileW(ShortcutPath(folder).GetText());
  for (int which = 0; which < 2; ++which) {
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, UninstallKeyPath(which, product.key_name).GetText());
  }
  LogLine(CWString(L"register: rolled back the shortcuts and the uninstall entry"));
}

}  // namespace

CWString UninstallKeyPath(int which, const CWString& key_name) {
  return CWString::Concat(CWString(kUninstallRoots[which]), key_name);
}

InstallOutcome RegisterProduct(const ProductRegistration& product) {
  const CWString target = CWString::Concat(product.install_folder, product.client_exe_name);
  const CWString none;
  bool ok = true;
  for (std::uint32_t folder : kShortcutFolders) {
    const CWString link = ShortcutPath(folder);
    const bool saved = vexo::sys::CreateShortcut(link, target, none, none, product.install_folder) != 0;
    LogFormat(L"register: shortcut %s -> %s", link.GetText(), saved ? L"ok" : L"failed");
    ok = saved && ok;
  }
  for (int which = 0; which < 2; ++which) {
    const CWString key = CWString::Concat(UninstallKeyPath(which, product.key_name), L"\\");
    ok = WriteUninstallEntry(key, product) && ok;
  }
  InstallOutcome outcome;
  if (!ok) {
    RemoveRegistration(product);
    outcome.failure = InstallFailure::kRegistrationFailed;
    return outcome;
  }
  ::ShellExecuteW(nullptr, L"Open", L"RunDll32.exe", L"USER32.DLL,UpdatePerUserSystemParameters", nullptr,
                  SW_SHOWNORMAL);
  return outcome;
}

}  // namespace vexo::app
