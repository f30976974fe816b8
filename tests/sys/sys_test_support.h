// Helpers of the system-service tests: scratch folders, whole-file reads and writes, open-handle counts.
#pragma once

#include <string>

namespace vexo::test {

// A fresh, empty folder under the temporary folder for one test, removed with everything in it afterwards.
class ScratchFolder {
 public:
  // Creates the folder in `parent` (ending in a backslash), by default the temporary folder; a failure
  // shows as an empty path() (and fails the calling test's checks).
  explicit ScratchFolder(const std::wstring& parent = L"");
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder's path, ending in a backslash.
  const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
};

// Removes a folder and everything under it; true when it is gone.
bool RemoveTree(const std::wstring& folder);
// The whole content of a file as bytes, or "" when it cannot be read.
std::string ReadWholeFile(const std::wstring& path);
// Creates or replaces a file with `content`; true on success.
bool WriteWholeFile(const std::wstring& path, const std::string& content);
bool IsFolder(const std::wstring& path);
bool IsFile(const std::wstring& path);
// The folder of the running test executable, ending in a backslash.
std::wstring ExecutableFolder();
// Runs `command_line` (a program of the Windows side), waits for it and returns what it wrote to its
// standard output, or "" when it could not be started.
std::string RunAndCapture(const std::wstring& command_line);
// The number of kernel handles this process holds open (counted directly: wine reports no handle count).
int CountOpenHandles();

}  // namespace vexo::test
