// A product installation made the way the installer makes it, for the package's tests: the real package
// unpacked by 7z.exe into a fresh folder, the three shortcuts and both uninstall keys.
#pragma once

#include <string>
#include <vector>

#include "runtime/win/com_ptr.h"
#include "runtime/win/scoped_handles.h"
#include "tests/runtime/child_process.h"
#include "tests/sys/sys_test_support.h"

namespace vexo::test {

// What a run of the staged uninstaller did.
struct UninstallerRun {
  testing_support::ChildOutcome outcome;
  // The processes the uninstaller left running (its self-removal copy) had ended before the run returned.
  bool followers_ended = false;
};

class StagedInstall {
 public:
  // Unpacks the package into "<scratch>\<folder_name>\" (by default with a space and Chinese letters, as in
  // real folders) and writes the shortcuts and keys. `ok()` says whether all of that worked.
  explicit StagedInstall(const std::wstring& folder_name = L"Vexo 助手 测试");
  // Removes whatever a test left: the scratch folder, the three shortcuts and both keys.
  ~StagedInstall();
  StagedInstall(const StagedInstall&) = delete;
  StagedInstall& operator=(const StagedInstall&) = delete;

  bool ok() const { return ok_; }
  // The folder the package was unpacked into, ending in a backslash.
  const std::wstring& folder() const { return folder_; }
  // The folder around it, where nothing of the installation lives; ends in a backslash.
  const std::wstring& outside() const { return scratch_.path(); }
  // The paths of uninstall.lst as staged, relative, backslash-separated.
  const std::vector<std::wstring>& listed() const { return listed_; }

  // Full paths of the three shortcut files.
  static std::vector<std::wstring> ShortcutPaths();
  // Writes the three shortcuts pointing at `client_folder`'s client and both keys naming `install_folder`,
  // with the values and in the order the installer uses.
  static bool Register(const std::wstring& client_folder, const std::wstring& install_folder);
  static bool KeyExists(const wchar_t* key_path);

  // Starts the staged VexoClient.exe and waits until it is ready for input. Returns its process handle,
  // empty when it could not be started.
  win::ScopedHandle StartClient() const;

  // Runs the staged Uninstall.exe with `arguments`, answering its message boxes with `answers` (then
  // OK), waits for it and for the processes it started, and deletes the temporary copy it left.
  UninstallerRun RunUninstaller(const std::wstring& arguments, const std::vector<int>& answers = {}) const;

 private:
  win::ScopedComInit com_;
  ScratchFolder scratch_;
  std::wstring folder_;
  std::vector<std::wstring> listed_;
  bool ok_ = false;
};

}  // namespace vexo::test
