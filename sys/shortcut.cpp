#include "sys/shortcut.h"

#include <objbase.h>
#include <shlobj.h>

#include <cwchar>

#include "runtime/win/com_ptr.h"

namespace vexo::sys {

int CreateShortcut(const CWString& link_path, const CWString& target, const CWString& description,
                   const CWString& arguments, const CWString& working_folder) {
  // An empty name would become ".lnk" in whatever the current folder is.
  if (link_path.IsEmpty()) return 0;
  win::ComPtr<IShellLinkW> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.receive())))) {
    return 0;
  }
  win::ComPtr<IPersistFile> file = link.As<IPersistFile>();
  if (!file) return 0;
  link->SetPath(target.GetText());
  link->SetShowCmd(SW_SHOW);
  if (!description.IsEmpty()) link->SetDescription(description.GetText());
  if (!arguments.IsEmpty()) link->SetArguments(arguments.GetText());
  if (!working_folder.IsEmpty()) link->SetWorkingDirectory(working_folder.GetText());

  CWString file_name(link_path);
  if (std::wcschr(file_name.GetText(), L'.') == nullptr) file_name.Append(L".lnk");
  return SUCCEEDED(file->Save(file_name.GetText(), TRUE)) ? 1 : 0;
}

}  // namespace vexo::sys
