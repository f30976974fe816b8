#include "package/program_path.h"

#include "runtime/win/windows_api.h"

namespace vexo::product {

std::wstring ProgramPath() {
  // GetModuleFileNameW truncates silently; a buffer it filled completely may have been too small.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return L"";
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    if (path.size() >= 32768) return L"";
    path.resize(path.size() * 2);
  }
}

}  // namespace vexo::product
