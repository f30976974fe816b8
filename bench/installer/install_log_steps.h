// The installer's own account of one run with one install attempt: when each step of its log
// (%TEMP%\VexoInstall.log, "YYYY-MM-DD hh:mm:ss.mmm  <line>") was written.
#pragma once

#include <windows.h>

#include <string>

namespace vexo::bench {

// Moments in seconds since local midnight (the log's clock, milliseconds).
struct InstallLogSteps {
  bool complete = false;   // every step below was found (the signature's only when the log has one)
  double started = 0;      // "start: ..."  (the window is built, the message loop about to run)
  double clicked = 0;      // "install: into ..."  (the click was handled)
  double downloaded = 0;   // the first "download: none -> ..."  (the package file is whole and in place)
  double signature = 0;    // "signature: ..."  (signature downloaded and checked); `downloaded` without one
  double verified = 0;     // "verify: ..."
  double unpacked = 0;     // "unpack: ..."
  double finished = 0;     // "outcome: ..."  (client check and registration done)
  // Of the package's attempts ("download: attempt ..., N bytes, M ms" before the package is in place, or
  // the one "download: status 200, N bytes, M ms" of older builds): the sum of their times M and bytes N.
  double transfer_ms = 0;
  long long bytes = 0;
};

// The steps in `log` (UTF-8; a step written more than once counts at its last line, the package's download at its first); complete false when
// one is missing.
InstallLogSteps ReadInstallLogSteps(const std::string& log);

// `time` in seconds on the log's scale (local time, counted across days, so a run may pass midnight).
double LogSeconds(const SYSTEMTIME& time);

}  // namespace vexo::bench
