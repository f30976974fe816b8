#include "package/uninstall/file_removal.h"

namespace vexo::uninstall {

namespace {

bool IsGone(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

}  // namespace

DWORD RemoveFile(const std::wstring& path) {
  if (::DeleteFileW(path.c_str())) return ERROR_SUCCESS;
  const DWORD error = ::GetLastError();
  if (IsGone(error)) return ERROR_SUCCESS;
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  const bool read_only = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
                         (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  if (error != ERROR_ACCESS_DENIED || !read_only) return error;
  if (!::SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) return error;
  if (::DeleteFileW(path.c_str())) return ERROR_SUCCESS;
  const DWORD retry_error = ::GetLastError();
  ::SetFileAttributesW(path.c_str(), attributes);
  return IsGone(retry_error) ? ERROR_SUCCESS : retry_error;
}

}  // namespace vexo::uninstall
