// Plays the user of the real Install.exe in end-to-end tests: starts it, finds its window and elements,
// clicks them with real input, and reads what the installer left behind (log, files, registry, links).
#pragma once

#include <windows.h>

#include <string>

namespace vexo::test {

// The names of the installer's elements whose places the driver knows.
enum class Element { kInstall, kBrowse, kPathField, kRetry, kLaunch, kProgressBar, kClose };

class InstallerDriver {
 public:
  // Starts Install.exe with the given temporary folder (TEMP and TMP; empty: this process's) and waits
  // until its window is visible. started() tells whether that happened.
  explicit InstallerDriver(const std::wstring& temp_folder = L"");
  // Ends the installer if it still runs.
  ~InstallerDriver();
  InstallerDriver(const InstallerDriver&) = delete;
  InstallerDriver& operator=(const InstallerDriver&) = delete;

  bool started() const { return window_ != nullptr; }
  HWND window() const { return window_; }
  DWORD ui_thread() const { return ui_thread_; }

  // Moves the pointer to the middle of the element and clicks it.
  void Click(Element element);
  // The element's rectangle on the screen.
  RECT ScreenRect(Element element) const;
  // Waits until the install log holds a line with "outcome: "; returns the rest of that line (e.g.
  // "installed", "http-status"), or "" after `timeout_ms`.
  std::string WaitForOutcome(DWORD timeout_ms = 60000);
  // Waits until the log has `count` outcome lines (for retries); the last one, or "".
  std::string WaitForOutcomeCount(int count, DWORD timeout_ms = 60000);
  // The whole install log of this run (UTF-8).
  std::string Log() const;
  // Waits for the process to end; its exit code, or -1 when it still runs after `timeout_ms`.
  long WaitForExit(DWORD timeout_ms = 20000);

  // The temporary folder the installer sees, ending in a backslash.
  const std::wstring& temp_folder() const { return temp_folder_; }

 private:
  std::wstring temp_folder_;
  HANDLE process_ = nullptr;
  DWORD ui_thread_ = 0;
  HWND window_ = nullptr;
};

// `text` in UTF-8, for printing and for comparing with the install log.
std::string Utf8(const std::wstring& text);

// Path of the Install.exe under test: the environment's VEXO_INSTALLER when set (a Windows path; the
// benchmark runs other builds that way), else the build tree's.
std::wstring InstallerPath();
// Writes the package listener's mode (see tests/support/test_http_server.py) and waits until the
// listener follows it.
void SetPackageMode(const std::string& mode);
// The package server's request log.
std::string PackageRequests();

}  // namespace vexo::test
