// Holder of the open clipboard (OpenClipboard ... CloseClipboard).
#pragma once

#include <windows.h>

namespace vexo::win {

// The clipboard, opened for `owner` for the holder's lifetime; check is_open().
class ScopedClipboard {
 public:
  explicit ScopedClipboard(HWND owner) : open_(::OpenClipboard(owner) != FALSE) {}
  ~ScopedClipboard() {
    if (open_) ::CloseClipboard();
  }
  ScopedClipboard(const ScopedClipboard&) = delete;
  ScopedClipboard& operator=(const ScopedClipboard&) = delete;

  bool is_open() const { return open_; }

 private:
  bool open_;
};

}  // namespace vexo::win
