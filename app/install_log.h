// The install log: %TEMP%\VexoInstall.log, one UTF-8 line per step with a timestamp, for support.
#pragma once

#include "runtime/w_string.h"

namespace vexo::app {

// Starts a new log for this run (an earlier run's log is replaced). Without a temporary folder, or when
// the file cannot be created, later lines are dropped; the installer works the same.
void OpenInstallLog();

// Appends "YYYY-MM-DD hh:mm:ss.mmm  <line>" to the log; safe from any thread.
void LogLine(const CWString& line);

// Formats like CWString::Format and appends the result.
void LogFormat(const wchar_t* format, ...);

}  // namespace vexo::app
