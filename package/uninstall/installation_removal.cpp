#include "package/uninstall/installation_removal.h"

#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <optional>
#include <tuple>

#include "package/product.h"
#include "package/uninstall/file_removal.h"
#include "runtime/win/com_ptr.h"
#include "runtime/win/scoped_handles.h"
#include "runtime/win/scoped_memory.h"
#include "sys/special_folder.h"

namespace vexo::uninstall {

namespace {

using Kind = RemovalFailure::Kind;

bool EqualsIgnoringCase(const std::wstring& left, const std::wstring& right) {
  return ::CompareStringOrdinal(left.c_str(), static_cast<int>(left.size()), right.c_str(),
                                static_cast<int>(right.size()), TRUE) == CSTR_EQUAL;
}

// What identifies a folder on its volume, whatever path spelling (case, short names, doubled separators)
// reaches it.
using FolderIdentity = std::tuple<DWORD, DWORD, DWORD>;

std::optional<FolderIdentity> IdentifyFolder(const std::wstring& path) {
  win::ScopedHandle folder(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!folder || !::GetFileInformationByHandle(folder.get(), &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    return std::nullopt;
  }
  return FolderIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

bool IsSameFolder(const std::wstring& path, const std::wstring& install_folder) {
  const std::optional<FolderIdentity> identity = IdentifyFolder(path);
  return identity && identity == IdentifyFolder(install_folder);
}

// The target of a shell link file, read two ways: from its item id list and with GetPath. On Windows both
// agree; wine gets one of them wrong for some paths (GetPath loses characters outside the ANSI code page,
// the id list repeats a folder when the path has a doubled separator). Empty when the file is no link.
std::vector<std::wstring> ShortcutTargets(const std::wstring& link_path) {
  std::vector<std::wstring> targets;
  win::ComPtr<IShellLinkW> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.receive())))) {
    return targets;
  }
  win::ComPtr<IPersistFile> file = link.As<IPersistFile>();
  if (!file || FAILED(file->Load(link_path.c_str(), STGM_READ))) return targets;
  wchar_t target[MAX_PATH] = {};
  PIDLIST_ABSOLUTE items = nullptr;
  if (link->GetIDList(&items) == S_OK) {
    win::ScopedCoTaskMem items_holder(items);
    if (::SHGetPathFromIDListW(items, target)) targets.push_back(target);
  }
  if (link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH) == S_OK) targets.push_back(target);
  return targets;
}

// True when the link's target is the client in the install folder.
bool PointsAtClient(const std::wstring& link_path, const std::wstring& install_folder) {
  for (const std::wstring& target : ShortcutTargets(link_path)) {
    const std::size_t cut = target.find_last_of(L"\\/");
    if (cut != std::wstring::npos && EqualsIgnoringCase(target.substr(cut + 1), product::kClientExeName) &&
        IsSameFolder(target.substr(0, cut + 1), install_folder)) {
      return true;
    }
  }
  return false;
}

// The install location an uninstall key names, or the empty text when it has none.
std::wstring InstallLocationOf(HKEY key) {
  DWORD size = 0;
  if (::RegGetValueW(key, nullptr, product::kInstallLocationValue, RRF_RT_REG_SZ, nullptr, nullptr, &size) !=
      ERROR_SUCCESS) {
    return L"";
  }
  std::wstring location(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(location.size() * sizeof(wchar_t));
  if (::RegGetValueW(key, nullptr, product::kInstallLocationValue, RRF_RT_REG_SZ, nullptr, location.data(),
                     &size) != ERROR_SUCCESS) {
    return L"";
  }
  location.resize(location.find(L'\0'));
  return location;
}

// Relative folders that hold the listed files, deepest first, each once.
std::vector<std::wstring> FoldersOf(const std::vector<std::wstring>& entries) {
  std::vector<std::wstring> folders;
  for (const std::wstring& entry : entries) {
    for (std::size_t cut = entry.rfind(L'\\'); cut != std::wstring::npos && cut > 0;
         cut = entry.rfind(L'\\', cut - 1)) {
      folders.push_back(entry.substr(0, cut));
    }
  }
  const auto depth = [](const std::wstring& folder) { return std::count(folder.begin(), folder.end(), L'\\'); };
  std::sort(folders.begin(), folders.end(), [&](const std::wstring& left, const std::wstring& right) {
    return depth(left) != depth(right) ? depth(left) > depth(right) : left < right;
  });
  folders.erase(std::unique(folders.begin(), folders.end()), folders.end());
  return folders;
}

class Removal {
 public:
  Removal(const std::wstring& install_folder, const std::wstring& uninstaller_path)
      : install_folder_(install_folder), uninstaller_path_(uninstaller_path) {}

  RemovalOutcome Run(const std::vector<std::wstring>& entries) {
    RemoveShortcuts();
    bool list_listed = false;
    for (const std::wstring& entry : entries) {
      if (EqualsIgnoringCase(install_folder_ + entry, uninstaller_path_)) {
        outcome_.uninstaller_listed = true;
      } else if (EqualsIgnoringCase(entry, product::kUninstallListName)) {
        list_listed = true;
      } else {
        Check(Kind::kFile, entry, RemoveFile(install_folder_ + entry));
      }
    }
    if (outcome_.failures.empty()) RemoveUninstallKeys();
    if (outcome_.failures.empty() && list_listed) {
      Check(Kind::kFile, product::kUninstallListName, RemoveFile(install_folder_ + product::kUninstallListName));
    }
    outcome_.completed = outcome_.failures.empty();
    for (const std::wstring& folder : FoldersOf(entries)) RemoveFolderIfEmpty(folder);
    ::RemoveDirectoryW(install_folder_.c_str());
    return std::move(outcome_);
  }

 private:
  void Check(Kind kind, const std::wstring& item, DWORD error) {
    if (error != ERROR_SUCCESS) outcome_.failures.push_back({kind, item, error});
  }

  void RemoveShortcuts() {
    for (sys::SpecialFolder folder : product::kShortcutFolders) {
      const CWString folder_path = sys::GetSpecialFolder(folder);
      if (folder_path.IsEmpty()) continue;
      const std::wstring link = std::wstring(folder_path.GetText()) + product::kShortcutFileName;
      if (::GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
      if (PointsAtClient(link, install_folder_)) Check(Kind::kShortcut, link, RemoveFile(link));
    }
  }

  void RemoveUninstallKeys() {
    for (const wchar_t* key_path : product::kUninstallKeys) {
      win::ScopedRegKey key;
      const LONG opened = ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, key_path, 0, KEY_QUERY_VALUE, key.receive());
      if (opened == ERROR_FILE_NOT_FOUND) continue;
      if (opened != ERROR_SUCCESS) {
        Check(Kind::kRegistryKey, key_path, static_cast<DWORD>(opened));
        continue;
      }
      if (!IsSameFolder(InstallLocationOf(key.get()), install_folder_)) continue;
      key.reset();
      const LONG deleted = ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, key_path);
      if (deleted != ERROR_FILE_NOT_FOUND) Check(Kind::kRegistryKey, key_path, static_cast<DWORD>(deleted));
    }
  }

  // A folder that still holds something (a user's own files) stays, and that is not a failure.
  void RemoveFolderIfEmpty(const std::wstring& folder) {
    if (::RemoveDirectoryW((install_folder_ + folder).c_str())) return;
    const DWORD error = ::GetLastError();
    if (error != ERROR_DIR_NOT_EMPTY && error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
      Check(Kind::kFolder, folder, error);
    }
  }

  const std::wstring& install_folder_;
  const std::wstring& uninstaller_path_;
  RemovalOutcome outcome_;
};

}  // namespace

RemovalOutcome RemoveInstallation(const std::wstring& install_folder, const std::wstring& uninstaller_path,
                                  const std::vector<std::wstring>& entries) {
  return Removal(install_folder, uninstaller_path).Run(entries);
}

}  // namespace vexo::uninstall
