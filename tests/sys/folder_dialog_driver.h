// Plays the user of the shell's folder dialog in the tests: real mouse and keyboard input through xdotool
// on the wine session's X display.
#pragma once

#include <windows.h>

#include <string>
#include <thread>

namespace vexo::test {

class FolderDialogDriver {
 public:
  enum class Gesture {
    kClickOk,
    kClickCancel,
    kPressEscape,
    // Expands the selected folder in the tree, moves to its first subfolder and confirms with Enter.
    kOpenFirstSubfolderAndPressEnter,
    // Closes the dialog with a cancel command, without any input.
    kDismiss,
  };
  struct Observed {
    bool dialog_found = false;
    // The dialog's folder edit box as the dialog opened.
    std::wstring folder_text;
    // The dialog closed in answer to the gesture; false when the driver had to cancel it itself.
    bool closed_by_gesture = false;
  };

  // Starts watching for the folder dialog that thread `dialog_thread` shows (its title text is `title`),
  // then performs `gesture` on it.
  FolderDialogDriver(DWORD dialog_thread, std::wstring title, Gesture gesture);
  // Waits for the driver to finish.
  ~FolderDialogDriver();
  FolderDialogDriver(const FolderDialogDriver&) = delete;
  FolderDialogDriver& operator=(const FolderDialogDriver&) = delete;

  // Waits for the driver to finish and returns what it saw.
  Observed Finish();

 private:
  void Drive(DWORD dialog_thread, const std::wstring& title, Gesture gesture);

  std::thread worker_;
  Observed observed_;
};

}  // namespace vexo::test
