#include "sys/special_folder.h"

#include <shlobj.h>

#include "runtime/win/windows_api.h"

namespace vexo::sys {

namespace {

// The shell folders of indices 1 to 8, in index order.
constexpr int kShellFolderIds[] = {
    CSIDL_PERSONAL, CSIDL_FAVORITES, CSIDL_DESKTOPDIRECTORY, CSIDL_FONTS,
    CSIDL_STARTMENU, CSIDL_PROGRAMS, CSIDL_STARTUP, CSIDL_APPDATA,
};

// The length-returning calls report a buffer too small with a length of MAX_PATH or more.
bool FitsBuffer(UINT length) { return length != 0 && length < MAX_PATH; }

bool QueryFolder(std::uint32_t index, wchar_t (&buffer)[MAX_PATH]) {
  if (index >= kMyDocuments && index <= kAppData) {
    return ::SHGetSpecialFolderPathW(nullptr, buffer, kShellFolderIds[index - kMyDocuments], FALSE) != FALSE;
  }
  switch (index) {
    case kWindows:
      return FitsBuffer(::GetWindowsDirectoryW(buffer, MAX_PATH));
    case kSystem:
      return FitsBuffer(::GetSystemDirectoryW(buffer, MAX_PATH));
    case kTemporary:
      return FitsBuffer(::GetTempPathW(MAX_PATH, buffer));
    default:
      return false;
  }
}

}  // namespace

CWString GetSpecialFolder(std::uint32_t index) {
  CWString result;
  wchar_t buffer[MAX_PATH] = {};
  if (!QueryFolder(index, buffer)) return result;
  result.Append(buffer);
  if (result.IsEmpty() || result.GetText()[result.GetLength() - 1] != L'\\') result.AppendChar(L'\\');
  return result;
}

}  // namespace vexo::sys
