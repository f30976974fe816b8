// Shared pieces of the UI binding tests: a shown test window and real clicks on its widgets.
#pragma once

#include <windows.h>

#include "tests/xcgui/test_support.h"

namespace vexo::ui_test {

// The UI library's test window, loaded and shown for each test (library session from LibraryTest).
class ShownWindowTest : public xcgui_test::LibraryTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The screen point at the centre of the named widget of the window.
  POINT CenterOf(const wchar_t* name);
  // Moves the mouse to `point` and clicks the left button there (xdotool).
  void ClickAt(POINT point);

  HWINDOW window_ = nullptr;
  HWND hwnd_ = nullptr;
};

}  // namespace vexo::ui_test
