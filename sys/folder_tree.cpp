#include "sys/folder_tree.h"

#include <string>

#include "runtime/win/windows_api.h"

namespace vexo::sys {

namespace {

bool IsExistingFolder(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

int CreateTree(std::wstring path) {
  const std::size_t length = path.size();
  if (length >= 2 && path[length - 1] == L'\\' && path[length - 2] != L':') path.pop_back();
  if (path.size() == 2 && path[1] == L':') return 1;

  if (::CreateDirectoryW(path.c_str(), nullptr)) return 1;
  if (::GetLastError() != ERROR_PATH_NOT_FOUND) {
    // Already there (or a root, which Windows refuses to create) only counts when it is a folder: a
    // file of that name must not pass for one.
    return IsExistingFolder(path) ? 1 : 0;
  }
  std::size_t cut = path.rfind(L'\\');
  if (cut == std::wstring::npos) return 0;
  if (cut == path.size() - 1) {
    if (cut == 0) return 0;
    cut = path.rfind(L'\\', cut - 1);
    if (cut == std::wstring::npos) return 0;
  }
  if (CreateTree(path.substr(0, cut)) == 0) return 0;
  return ::CreateDirectoryW(path.c_str(), nullptr) || IsExistingFolder(path) ? 1 : 0;
}

}  // namespace

int CreateFolderTree(const wchar_t* path) {
  if (path == nullptr || *path == L'\0') return 0;
  return CreateTree(path);
}

}  // namespace vexo::sys
