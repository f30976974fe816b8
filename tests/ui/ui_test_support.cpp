#include "tests/ui/ui_test_support.h"

#include <atomic>
#include <thread>

#include "tests/xcgui/screen.h"
#include "xcgui/src/context.h"
#include "xcgui/src/element.h"
#include "xcgui/src/widget.h"
#include "xcgui/src/window.h"

namespace vexo::ui_test {

void TestWindow::SetUp() {
  LibraryTest::SetUp();
  window_ = LoadMainWindow();
  ASSERT_NE(window_, nullptr);
}

void ShownWindowTest::SetUp() {
  TestWindow::SetUp();
  hwnd_ = XWnd_GetHWND(window_);
  ASSERT_TRUE(XWnd_Show(window_, TRUE));
  SetForegroundWindow(hwnd_);
  xcgui_test::PumpMessages(300);
}

void ShownWindowTest::TearDown() {
  xcgui_test::MouseMove(2, 2);
  TestWindow::TearDown();
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

std::vector<const xc_event*> RegisteredRecords(HXCGUI handle, int id) {
  xcgui::Context* context = xcgui::Context::Current();
  if (auto* element = context->Find<xcgui::Element>(handle)) return element->events().RecordsFor(id);
  if (auto* window = context->Find<xcgui::Window>(handle)) return window->events().RecordsFor(id);
  return {};
}

namespace {

struct BoxSearch {
  DWORD process_id;
  HWND found;
};

BOOL CALLBACK FindBox(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<BoxSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t kind[16] = {};
  GetClassNameW(window, kind, 16);
  if (owner != search->process_id || std::wstring(kind) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

std::wstring TextOf(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

}  // namespace

std::vector<SeenBox> AnswerMessageBoxes(const std::function<void()>& action) {
  std::vector<SeenBox> seen;
  std::atomic<bool> done{false};
  std::thread answerer([&] {
    while (!done.load()) {
      BoxSearch search{GetCurrentProcessId(), nullptr};
      EnumWindows(&FindBox, reinterpret_cast<LPARAM>(&search));
      if (search.found == nullptr) {
        Sleep(20);
        continue;
      }
      SeenBox box{TextOf(search.found), L""};
      for (HWND child = FindWindowExW(search.found, nullptr, L"Static", nullptr); child != nullptr;
           child = FindWindowExW(search.found, child, L"Static", nullptr)) {
        if (!TextOf(child).empty()) box.text = TextOf(child);
      }
      seen.push_back(box);
      SendMessageW(search.found, WM_COMMAND, IDOK, 0);
      Sleep(50);
    }
  });
  action();
  done.store(true);
  answerer.join();
  return seen;
}

}  // namespace vexo::ui_test
