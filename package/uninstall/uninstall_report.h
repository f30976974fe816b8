// The words the uninstaller shows the user: its question, and what it did or could not do.
#pragma once

#include <string>

#include "package/uninstall/installation_removal.h"
#include "package/uninstall/uninstall_list.h"

namespace vexo::uninstall {

// Caption of every message box the uninstaller shows.
std::wstring ReportCaption();

// The confirmation question for removing the product from `install_folder`.
std::wstring ConfirmationText(const std::wstring& install_folder);

// Why nothing was removed: the list file could not be read (`error` is the Windows error).
std::wstring UnreadableListText(DWORD error);

// Why nothing was removed: the list has a line that is refused (`list.refused_line` is not 0).
std::wstring RefusedListText(const UninstallList& list);

// The result of a removal: success, or each item that stayed with the reason in plain words (at most a
// screenful; the rest is counted), and whether running the uninstaller again can finish the job.
std::wstring OutcomeText(const RemovalOutcome& outcome);

// Why the uninstaller did nothing: it was started with arguments it does not know.
std::wstring CommandLineText();

}  // namespace vexo::uninstall
