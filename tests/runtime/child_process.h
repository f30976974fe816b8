// Runs a helper program of the tests and answers the message boxes it shows, recording what they said.
#pragma once

#include <string>
#include <vector>

#include "runtime/win/windows_api.h"

namespace testing_support {

struct SeenMessageBox {
  std::wstring caption;
  std::wstring text;
  HICON icon;  // null when the box shows none
};

struct ChildOutcome {
  bool started = false;
  DWORD process_id = 0;
  bool timed_out = false;
  DWORD exit_code = 0;
  std::vector<SeenMessageBox> boxes;
};

// The full path of `file_name` in the folder of the running test program.
std::wstring SiblingPath(const wchar_t* file_name);

// Starts `program` with `arguments`, answers every message box (dialog class "#32770") that the child
// shows, and waits for it to end. The n-th box gets the n-th button id of `answers` (IDYES, IDNO, ...),
// boxes beyond them get IDOK. A child still running after `timeout_ms` is terminated.
ChildOutcome RunChildAnsweringBoxes(const std::wstring& program, const std::wstring& arguments,
                                    const std::vector<int>& answers = {}, DWORD timeout_ms = 30000);

}  // namespace testing_support
