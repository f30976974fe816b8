// Shared pieces of the UI binding tests: the test window, real clicks on its widgets, the records the
// library keeps, and message boxes shown by the code under test.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/xcgui/test_support.h"

namespace vexo::ui_test {

// The UI library's test window (main.xml of the test archive), loaded hidden for each test inside a
// library session (LibraryTest).
class TestWindow : public xcgui_test::LibraryTest {
 protected:
  void SetUp() override;

  HWINDOW window_ = nullptr;
};

// The test window shown, for real input.
class ShownWindowTest : public TestWindow {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The screen point at the centre of the named widget of the window.
  POINT CenterOf(const wchar_t* name);
  // Moves the mouse to `point` and clicks the left button there (xdotool).
  void ClickAt(POINT point);

  HWND hwnd_ = nullptr;
};

// The event records the library keeps for `id` on the element or window `handle`, in registration order.
std::vector<const xc_event*> RegisteredRecords(HXCGUI handle, int id);

// A message box seen by MessageBoxAnswerer.
struct SeenBox {
  std::wstring caption;
  std::wstring text;
};

// Runs `action` on the calling thread while a second thread presses OK on every message box this
// process shows; returns the boxes in the order seen.
std::vector<SeenBox> AnswerMessageBoxes(const std::function<void()>& action);

}  // namespace vexo::ui_test
