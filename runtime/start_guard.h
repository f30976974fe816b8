// The guard around the start method: an exception that escapes it is shown in a message box and ends the
// process with exit code -1.
#pragma once

#include "runtime/pel_exception.h"
#include "runtime/w_string.h"

class CPelUserApp;

namespace vexo {

// The start method of the startup class, called with the user application the host created.
using StartMethod = void (*)(CPelUserApp& app);

// Calls `start(app)`. Under a debugger the call is unguarded. Otherwise an escaping CPelException, or any
// other exception, shows one message box (no owner, "运行时异常", error icon) and ends the process through
// exit(-1); static destructors run.
void RunStartGuarded(StartMethod start, CPelUserApp& app);

// The message box text for a caught CPelException: its code and description.
CWString DescribeCaughtException(const CPelException& exception);

}  // namespace vexo
