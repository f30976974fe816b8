#include "package/uninstall/self_removal.h"

#include <cstdint>

#include "package/product.h"
#include "package/uninstall/file_removal.h"
#include "package/program_path.h"
#include "runtime/win/scoped_handles.h"
#include "sys/special_folder.h"

namespace vexo::uninstall {

namespace {

// How long the copy keeps trying to delete the ended uninstaller before leaving it to the next restart.
constexpr int kDeleteAttempts = 50;
constexpr DWORD kDeleteRetryMs = 100;

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\') + 1); }

bool HasUninstallerName(const std::wstring& path) {
  const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
  return ::CompareStringOrdinal(name.c_str(), static_cast<int>(name.size()), product::kUninstallerExeName, -1,
                                TRUE) == CSTR_EQUAL;
}

}  // namespace

DWORD HandOffSelfRemoval(const std::wstring& uninstaller_path) {
  const CWString temp_folder = sys::GetSpecialFolder(sys::kTemporary);
  if (temp_folder.IsEmpty()) return ERROR_PATH_NOT_FOUND;
  const std::wstring folder = temp_folder.GetText();
  const std::wstring copy = folder + L"VexoUninstall-" + std::to_wstring(::GetCurrentProcessId()) + L".exe";
  if (!::CopyFileW(uninstaller_path.c_str(), copy.c_str(), FALSE)) return ::GetLastError();

  win::ScopedHandle self;
  if (!::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(), ::GetCurrentProcess(), self.receive(),
                         SYNCHRONIZE, TRUE, 0)) {
    const DWORD error = ::GetLastError();
    ::DeleteFileW(copy.c_str());
    return error;
  }
  std::wstring command_line = Quoted(copy) + L" " + kFinishRemovalArgument + L" " +
                              std::to_wstring(reinterpret_cast<std::uintptr_t>(self.get())) + L" " +
                              Quoted(uninstaller_path);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  // The copy runs in the temporary folder so that no process keeps the install folder as its current one.
  if (!::CreateProcessW(copy.c_str(), command_line.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(),
                        &startup, &info)) {
    const DWORD error = ::GetLastError();
    ::DeleteFileW(copy.c_str());
    return error;
  }
  win::ScopedHandle process(info.hProcess);
  win::ScopedHandle thread(info.hThread);
  return ERROR_SUCCESS;
}

bool FinishSelfRemoval(HANDLE original, const std::wstring& uninstaller_path) {
  win::ScopedHandle original_process(original);
  if (!HasUninstallerName(uninstaller_path)) return false;
  const std::wstring copy = product::ProgramPath();
  if (!copy.empty()) ::MoveFileExW(copy.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);

  ::WaitForSingleObject(original_process.get(), INFINITE);
  original_process.reset();
  for (int attempt = 0; attempt < kDeleteAttempts; ++attempt) {
    if (RemoveFile(uninstaller_path) == ERROR_SUCCESS) {
      ::RemoveDirectoryW(FolderOf(uninstaller_path).c_str());
      return true;
    }
    ::Sleep(kDeleteRetryMs);
  }
  ::MoveFileExW(uninstaller_path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  return true;
}

}  // namespace vexo::uninstall
