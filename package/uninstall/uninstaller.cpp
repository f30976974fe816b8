#include "package/uninstall/uninstaller.h"

#include <cstdint>
#include <cwchar>
#include <string>

#include "package/product.h"
#include "package/uninstall/installation_removal.h"
#include "package/program_path.h"
#include "package/uninstall/self_removal.h"
#include "package/uninstall/uninstall_list.h"
#include "package/uninstall/uninstall_report.h"
#include "runtime/win/com_ptr.h"
#include "runtime/win/scoped_handles.h"
#include "sys/special_folder.h"

namespace vexo::uninstall {

namespace {

// A list this large is not one the package made.
constexpr LONGLONG kMaxListBytes = 16 << 20;

bool EqualsIgnoringCase(const wchar_t* left, const wchar_t* right) {
  return ::CompareStringOrdinal(left, -1, right, -1, TRUE) == CSTR_EQUAL;
}

// The whole file into `bytes`; ERROR_SUCCESS or the Windows error.
DWORD ReadWholeFile(const std::wstring& path, std::string& bytes) {
  win::ScopedHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return ::GetLastError();
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size)) return ::GetLastError();
  if (size.QuadPart > kMaxListBytes) return ERROR_FILE_TOO_LARGE;
  bytes.resize(static_cast<std::size_t>(size.QuadPart));
  DWORD read = 0;
  if (!bytes.empty() && !::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
    return ::GetLastError();
  }
  bytes.resize(read);
  return ERROR_SUCCESS;
}

class Session {
 public:
  explicit Session(bool silent) : silent_(silent) {}

  int Run() {
    const std::wstring uninstaller_path = product::ProgramPath();
    const std::wstring install_folder = uninstaller_path.substr(0, uninstaller_path.find_last_of(L'\\') + 1);
    // Without its own folder every relative path of the list would name something else.
    if (install_folder.empty()) return Tell(UnreadableListText(ERROR_PATH_NOT_FOUND), MB_ICONERROR, kListUnusable);
    // A process whose current folder is the install folder keeps Windows from removing that folder.
    const CWString temp_folder = sys::GetSpecialFolder(sys::kTemporary);
    ::SetCurrentDirectoryW(temp_folder.GetText());

    if (!silent_ && ::MessageBoxW(nullptr, ConfirmationText(install_folder).c_str(), ReportCaption().c_str(),
                                  MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
      return kCancelled;
    }
    std::string bytes;
    const DWORD read_error = ReadWholeFile(install_folder + product::kUninstallListName, bytes);
    if (read_error != ERROR_SUCCESS) return Tell(UnreadableListText(read_error), MB_ICONERROR, kListUnusable);
    const UninstallList list = ParseUninstallList(bytes);
    if (list.refused_line != 0) return Tell(RefusedListText(list), MB_ICONERROR, kListUnusable);

    win::ScopedComInit com;
    RemovalOutcome outcome = RemoveInstallation(install_folder, uninstaller_path, list.entries);
    if (outcome.completed && outcome.uninstaller_listed) {
      const DWORD error = HandOffSelfRemoval(uninstaller_path);
      if (error != ERROR_SUCCESS) {
        outcome.failures.push_back({RemovalFailure::Kind::kUninstaller, product::kUninstallerExeName, error});
      }
    }
    const bool removed = outcome.failures.empty();
    return Tell(OutcomeText(outcome), removed ? MB_ICONINFORMATION : MB_ICONWARNING,
                removed ? kRemoved : kIncomplete);
  }

 private:
  int Tell(const std::wstring& text, UINT icon, int exit_code) const {
    if (!silent_) ::MessageBoxW(nullptr, text.c_str(), ReportCaption().c_str(), MB_OK | icon);
    return exit_code;
  }

  bool silent_;
};

// The process handle of the finishing mode's command line; false when it is not a plain decimal number.
bool ParseHandle(const wchar_t* text, HANDLE& handle) {
  if (*text < L'0' || *text > L'9') return false;
  wchar_t* end = nullptr;
  const unsigned long long value = std::wcstoull(text, &end, 10);
  if (*end != L'\0' || value > UINTPTR_MAX) return false;
  handle = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(value));
  return true;
}

}  // namespace

int RunUninstaller(int argc, wchar_t** argv) {
  if (argc == 1) return Session(false).Run();
  if (argc == 2 && EqualsIgnoringCase(argv[1], L"/S")) return Session(true).Run();
  HANDLE original = nullptr;
  if (argc == 4 && std::wcscmp(argv[1], kFinishRemovalArgument) == 0 && ParseHandle(argv[2], original)) {
    return FinishSelfRemoval(original, argv[3]) ? kRemoved : kBadCommandLine;
  }
  // A silent run with a stray argument still shows nothing.
  bool silent = false;
  for (int i = 1; i < argc; ++i) silent = silent || EqualsIgnoringCase(argv[i], L"/S");
  if (!silent) ::MessageBoxW(nullptr, CommandLineText().c_str(), ReportCaption().c_str(), MB_OK | MB_ICONERROR);
  return kBadCommandLine;
}

}  // namespace vexo::uninstall
