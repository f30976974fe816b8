// The shell's folder-browse dialog, opened on a given folder.
#pragma once

#include "runtime/w_string.h"

namespace vexo::sys {

// Shows the shell's folder dialog (with an edit box, new dialog style, no owner window) headed by `title`
// and opened with `initial_folder` selected, and blocks until the user closes it. Returns the chosen
// file-system folder without a trailing backslash (a drive root keeps its backslash), or the empty text
// when the user cancelled or chose something that is not a file-system folder (a new text owned by the
// caller). Initialises COM on the calling thread for the call; the thread's COM state is left as found.
CWString BrowseForFolder(const CWString& title, const CWString& initial_folder);

}  // namespace vexo::sys
