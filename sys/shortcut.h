// Shell links (.lnk files) written through the shell's own link object.
#pragma once

#include "runtime/w_string.h"

namespace vexo::sys {

// Saves a shell link at `link_path` pointing at `target` (which need not exist), shown normally (SW_SHOW).
// Description, arguments and working folder are set only when not empty. A link path with no "." anywhere
// gets ".lnk" appended; one with a dot, even in a folder name, is used as it is. Needs COM initialised on
// the calling thread. 1 when the file was saved, else 0 (an empty link path, no COM, or a failed save,
// which leaves any existing file of that name as it was).
int CreateShortcut(const CWString& link_path, const CWString& target, const CWString& description,
                   const CWString& arguments, const CWString& working_folder);

}  // namespace vexo::sys
