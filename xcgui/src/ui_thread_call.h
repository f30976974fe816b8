// Runs functions on the UI thread for other threads, through a hidden message window of that thread.
#pragma once

#include <windows.h>

#include <atomic>

#include "runtime/win/scoped_handles.h"
#include "xcgui/xcgui.h"

namespace xcgui {

class UiThreadCall {
 public:
  UiThreadCall() = default;
  ~UiThreadCall();
  UiThreadCall(const UiThreadCall&) = delete;
  UiThreadCall& operator=(const UiThreadCall&) = delete;

  // Creates the message window on the calling (UI) thread; false when it cannot be created.
  bool Open(HINSTANCE module);
  // Destroys the message window; callers still waiting get 0.
  void Close();

  // Runs function(data) on the UI thread and returns its result: directly on the UI thread, otherwise
  // through a sent message, which the UI thread serves in any message loop, modal ones included.
  // 0 when the library is not running.
  static vint Call(funCallUiThread function, vint data);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  HINSTANCE module_ = nullptr;
  vexo::win::ScopedWindow window_;
  ATOM window_class_ = 0;
};

}  // namespace xcgui
