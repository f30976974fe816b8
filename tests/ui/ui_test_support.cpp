#include "tests/ui/ui_test_support.h"

#include "tests/xcgui/screen.h"
#include "xcgui/src/context.h"
#include "xcgui/src/widget.h"

namespace vexo::ui_test {

void ShownWindowTest::SetUp() {
  LibraryTest::SetUp();
  window_ = LoadMainWindow();
  ASSERT_NE(window_, nullptr);
  hwnd_ = XWnd_GetHWND(window_);
  ASSERT_TRUE(XWnd_Show(window_, TRUE));
  SetForegroundWindow(hwnd_);
  xcgui_test::PumpMessages(300);
}

void ShownWindowTest::TearDown() {
  xcgui_test::MouseMove(2, 2);
  LibraryTest::TearDown();
}

POINT ShownWindowTest::CenterOf(const wchar_t* name) {
  auto* widget = xcgui::Context::Current()->Find<xcgui::Widget>(XC_GetObjectByName(name));
  EXPECT_NE(widget, nullptr) << name;
  RECT rect = widget != nullptr ? widget->ClientRect() : RECT{};
  MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

void ShownWindowTest::ClickAt(POINT point) {
  xcgui_test::MouseMove(point.x, point.y);
  xcgui_test::MouseClick();
}

}  // namespace vexo::ui_test
