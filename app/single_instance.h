// One installer at a time: a second Install.exe hands over to the running one.
#pragma once

namespace vexo::app {

// Claims the installer's per-session name. When another installer holds it, brings that installer's
// window to the front (restored if minimised; waits up to two seconds for a window that is still being
// built) and returns false: the caller ends with exit code 0. True for the first installer, which keeps
// the name until the process ends.
bool ClaimSingleInstance();

}  // namespace vexo::app
