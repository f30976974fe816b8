#include "sys/folder_dialog.h"

#include <shlobj.h>

#include "runtime/win/com_ptr.h"
#include "runtime/win/scoped_memory.h"
#include "runtime/win/windows_api.h"

namespace vexo::sys {

namespace {

// Selects the initial folder (the callback data) as soon as the dialog is ready.
int CALLBACK OnDialogEvent(HWND dialog, UINT event, LPARAM, LPARAM initial_folder) {
  if (event == BFFM_INITIALIZED) ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, initial_folder);
  return 0;
}

}  // namespace

CWString BrowseForFolder(const CWString& title, const CWString& initial_folder) {
  win::ScopedComInit com(COINIT_APARTMENTTHREADED);
  BROWSEINFOW info{};
  info.lpszTitle = title.GetText();
  info.ulFlags = BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
  info.lpfn = OnDialogEvent;
  info.lParam = reinterpret_cast<LPARAM>(initial_folder.GetText());
  wchar_t path[MAX_PATH] = {};
  win::ScopedCoTaskMem chosen(::SHBrowseForFolderW(&info));
  if (chosen && !::SHGetPathFromIDListW(static_cast<PCIDLIST_ABSOLUTE>(chosen.get()), path)) path[0] = L'\0';
  return CWString(path);
}

}  // namespace vexo::sys
