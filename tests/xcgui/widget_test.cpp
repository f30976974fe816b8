// Elements driven through the interface and window messages: progress bar, edit, show/hide, creation,
// positions, states, keyboard focus and the message loop.
#include <gtest/gtest.h>

#include "tests/xcgui/test_support.h"
#include "xcgui/src/context.h"
#include "xcgui/src/widget.h"

namespace xcgui_test {
namespace {

xcgui::Widget* Widget(const void* handle) { return xcgui::Context::Current()->Find<xcgui::Widget>(handle); }

std::wstring EditText(HELE edit) {
  wchar_t buffer[256] = {};
  XEdit_GetText(edit, buffer, 256);
  return buffer;
}

class Widgets : public LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    window_ = LoadMainWindow();
    hwnd_ = XWnd_GetHWND(window_);
  }
  HELE Ele(const wchar_t* name) { return reinterpret_cast<HELE>(XC_GetObjectByName(name)); }
  // The ids of the events a fresh record on the element sees, in order.
  std::vector<int>* Watch(HELE element, std::initializer_list<int> ids) {
    auto* seen = new std::vector<int>();
    watched_.emplace_back(seen);
    for (int id : ids) {
      auto* record = TestRecord::Make(1, this, id, [seen, id](const EventCall&, BOOL*) { seen->push_back(id); });
      EXPECT_TRUE(_XEle_RegEvent(element, id, record));
    }
    return seen;
  }

  HWINDOW window_ = nullptr;
  HWND hwnd_ = nullptr;
  std::vector<std::unique_ptr<std::vector<int>>> watched_;
};

TEST_F(Widgets, ProgressBarClampsItsPosition) {
  HELE bar = Ele(L"bar");
  struct Case {
    int set;
    int expected;
  } cases[] = {{35, 35}, {-5, 0}, {100, 100}, {250, 100}, {0, 0}};
  for (const Case& c : cases) {
    ASSERT_TRUE(XProgBar_SetPos(bar, c.set));
    EXPECT_EQ(XProgBar_GetPos(bar), c.expected) << c.set;
  }
}

TEST_F(Widgets, EditKeepsTheFirstLineAndReportsChanges) {
  HELE edit = Ele(L"edit_path");
  EXPECT_EQ(EditText(edit), L"C:\\Program Files\\Vexo\\");
  std::vector<int>* seen = Watch(edit, {XE_EDIT_SET, XE_EDIT_CHANGED});
  ASSERT_TRUE(XEdit_SetText(edit, L"\x56FA\x5B9A\x76EE\x5F55:D:\\Apps\\\r\nsecond line"));
  EXPECT_EQ(EditText(edit), L"\x56FA\x5B9A\x76EE\x5F55:D:\\Apps\\");
  ASSERT_TRUE(XEdit_SetText(edit, L"\x56FA\x5B9A\x76EE\x5F55:D:\\Apps\\"));  // same text: set, no change
  ASSERT_TRUE(XEdit_SetText(edit, nullptr));
  EXPECT_EQ(EditText(edit), L"");
  EXPECT_EQ(*seen, (std::vector<int>{XE_EDIT_SET, XE_EDIT_CHANGED, XE_EDIT_SET, XE_EDIT_SET, XE_EDIT_CHANGED}));
  // Very long texts are cut to the edit's limit, in one quick pass.
  ASSERT_TRUE(XEdit_SetText(edit, std::wstring(100000, L'\x52A9').c_str()));
  EXPECT_EQ(XEdit_GetText(edit, nullptr, 0), 32767);
  // A short buffer gets a cut, terminated copy; the result is the full length.
  ASSERT_TRUE(XEdit_SetText(edit, L"abcdef"));
  wchar_t small[4];
  EXPECT_EQ(XEdit_GetText(edit, small, 4), 6);
  EXPECT_STREQ(small, L"abc");
}

TEST_F(Widgets, TypingEditsTheFocusedEdit) {
  HELE edit = Ele(L"edit_path");
  XEdit_SetText(edit, L"ab");
  for (int i = 0; i < 2; ++i) SendTab(hwnd_);  // face, edit
  ASSERT_EQ(XEle_GetStateFlags(edit) & element_state_flag_focus, element_state_flag_focus);
  SendMessageW(hwnd_, WM_CHAR, L'c', 0);
  SendMessageW(hwnd_, WM_CHAR, 0x52A9, 0);
  SendMessageW(hwnd_, WM_CHAR, L'\t', 0);  // control characters are not text
  EXPECT_EQ(EditText(edit), L"abc\x52A9");
  SendMessageW(hwnd_, WM_KEYDOWN, VK_BACK, 0);
  SendMessageW(hwnd_, WM_KEYDOWN, VK_HOME, 0);
  SendMessageW(hwnd_, WM_KEYDOWN, VK_DELETE, 0);
  SendMessageW(hwnd_, WM_CHAR, L'X', 0);
  EXPECT_EQ(EditText(edit), L"Xbc");
}

TEST_F(Widgets, DraggingOverTheEditSelectsAndTypingReplacesTheSelection) {
  HELE edit = Ele(L"edit_path");
  XEdit_SetText(edit, L"abcdef");
  RECT rect = Widget(edit)->ClientRect();
  int y = (rect.top + rect.bottom) / 2;
  SendMessageW(hwnd_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rect.left + 1, y));  // caret before "a"
  SendMessageW(hwnd_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(rect.right - 2, y));   // past the end
  SendMessageW(hwnd_, WM_LBUTTONUP, 0, MAKELPARAM(rect.right - 2, y));
  SendMessageW(hwnd_, WM_CHAR, L'Z', 0);
  EXPECT_EQ(EditText(edit), L"Z");
  // A double-click selects everything.
  SendMessageW(hwnd_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rect.left + 1, y));
  SendMessageW(hwnd_, WM_LBUTTONUP, 0, MAKELPARAM(rect.left + 1, y));
  SendMessageW(hwnd_, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(rect.left + 1, y));
  SendMessageW(hwnd_, WM_LBUTTONUP, 0, MAKELPARAM(rect.left + 1, y));
  SendMessageW(hwnd_, WM_CHAR, L'Y', 0);
  EXPECT_EQ(EditText(edit), L"Y");
}

TEST_F(Widgets, ShowAndHideRaiseShowEventsAndMoveTheFocusAway) {
  HELE page = Ele(L"page_main");
  HELE button = Ele(L"btn_face");
  std::vector<int>* seen = Watch(page, {XE_SHOW});
  SendTab(hwnd_);
  ASSERT_TRUE(XEle_GetStateFlags(button) & element_state_flag_focus);
  ASSERT_TRUE(XWidget_Show(reinterpret_cast<HXCGUI>(page), FALSE));
  EXPECT_FALSE(XWidget_IsShow(reinterpret_cast<HXCGUI>(page)));
  EXPECT_TRUE(XWidget_IsShow(reinterpret_cast<HXCGUI>(button)));  // its own setting is unchanged
  EXPECT_TRUE(XEle_GetStateFlags(button) & element_state_flag_focus_no);
  ASSERT_TRUE(XWidget_Show(reinterpret_cast<HXCGUI>(page), FALSE));  // no change, no event
  ASSERT_TRUE(XWidget_Show(reinterpret_cast<HXCGUI>(page), TRUE));
  EXPECT_EQ(*seen, (std::vector<int>{XE_SHOW, XE_SHOW}));
  // Tab skips hidden elements.
  XWidget_Show(reinterpret_cast<HXCGUI>(button), FALSE);
  SendTab(hwnd_);
  EXPECT_TRUE(XEle_GetStateFlags(Ele(L"edit_path")) & element_state_flag_focus);
}

TEST_F(Widgets, StateFlagsDescribeEnabledFocusAndMouse) {
  HELE button = Ele(L"btn_face");
  EXPECT_EQ(XEle_GetStateFlags(button),
            element_state_flag_enable | element_state_flag_focus_no | element_state_flag_leave);
  EXPECT_TRUE(XEle_IsEnable(button));
  RECT rect = Widget(button)->ClientRect();
  SendMessageW(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(rect.left + 5, rect.top + 5));
  EXPECT_TRUE(XEle_GetStateFlags(button) & element_state_flag_stay);
  SendMessageW(hwnd_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rect.left + 5, rect.top + 5));
  EXPECT_TRUE(XEle_GetStateFlags(button) & element_state_flag_down);
  EXPECT_TRUE(XEle_GetStateFlags(button) & element_state_flag_focus);
  SendMessageW(hwnd_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(rect.right + 50, rect.top + 5));
  EXPECT_TRUE(XEle_GetStateFlags(button) & element_state_flag_leave);  // pressed but outside
  SendMessageW(hwnd_, WM_LBUTTONUP, 0, MAKELPARAM(rect.right + 50, rect.top + 5));
  EXPECT_FALSE(XEle_GetStateFlags(button) & element_state_flag_down);
}

TEST_F(Widgets, CreatedElementsJoinTheirParentAndPositionsMove) {
  HXCGUI page = XC_GetObjectByName(L"page_main");
  HELE in_window = XEle_Create(5, 6, 70, 20, reinterpret_cast<HXCGUI>(window_));
  HELE button = XBtn_Create(1, 2, 30, 40, L"\x786E\x5B9A", page);
  HELE edit = XEdit_Create(0, 0, 100, 24, page);
  HELE view = XSView_Create(0, 0, 100, 100, page);
  HELE nested = XBtn_Create(0, 0, 10, 10, nullptr, reinterpret_cast<HXCGUI>(view));
  ASSERT_TRUE(in_window && button && edit && view && nested);
  EXPECT_EQ(Widget(button)->text(), L"\x786E\x5B9A");
  EXPECT_EQ(Widget(button)->ClientRect().top, 255 + 2);
  EXPECT_EQ(Widget(nested)->parent(), Widget(view));
  EXPECT_EQ(XEdit_GetText(edit, nullptr, 0), 0);
  EXPECT_EQ(XEle_Create(0, 0, 1, 1, nullptr), nullptr);
  EXPECT_EQ(XEle_Create(0, 0, 1, 1, XC_GetObjectByName(L"title_text")), nullptr);  // shapes hold nothing

  ASSERT_TRUE(XEle_SetPosition(reinterpret_cast<HELE>(page), 0, 200, TRUE, adjustLayout_self, 0));
  EXPECT_EQ(Widget(button)->ClientRect().top, 200 + 2);
  EXPECT_EQ(Widget(page)->width(), 600);
}

TEST_F(Widgets, GetRectGivesClientCoordinatesOfNestedAndScrolledWidgets) {
  HXCGUI main_page = XC_GetObjectByName(L"page_main");
  ASSERT_NE(XC_LoadLayoutZip(kArchive, L"page.xml", kPassword, main_page, nullptr), nullptr);
  HXCGUI view = XC_GetObjectByName(L"view_extra");
  struct Case {
    const wchar_t* name;
    RECT expected;
  } cases[] = {
      {L"btn_close", {560, 8, 592, 32}},    // a window's own control
      {L"page_main", {0, 255, 600, 420}},   // a page
      {L"btn_face", {20, 275, 140, 315}},   // an element of the page
      {L"title_text", {20, 355, 320, 405}},  // a shape of the page
      {L"page_extra", {0, 255, 600, 420}},  // a layout loaded into the page, filling it
      {L"view_extra", {100, 265, 300, 365}},
      {L"note_text", {100, 265, 280, 565}},  // inside a scroll view
  };
  for (const Case& c : cases) {
    RECT rect = {};
    ASSERT_TRUE(XWidget_GetRect(XC_GetObjectByName(c.name), &rect)) << c.name;
    EXPECT_TRUE(EqualRect(&rect, &c.expected)) << c.name << ": " << rect.left << "," << rect.top << ","
                                               << rect.right << "," << rect.bottom;
  }
  // Scrolling the view moves its content; moving the page moves everything in it.
  RECT view_rect = {};
  ASSERT_TRUE(XWidget_GetRect(view, &view_rect));
  POINT at = {view_rect.left + 10, view_rect.top + 10};
  ClientToScreen(hwnd_, &at);
  SendMessageW(hwnd_, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(at.x, at.y));
  RECT note = {};
  ASSERT_TRUE(XWidget_GetRect(XC_GetObjectByName(L"note_text"), &note));
  EXPECT_EQ(note.top, 265 - 40);
  ASSERT_TRUE(XEle_SetPosition(reinterpret_cast<HELE>(main_page), 0, 200, FALSE, adjustLayout_self, 0));
  RECT face = {};
  ASSERT_TRUE(XWidget_GetRect(XC_GetObjectByName(L"btn_face"), &face));
  EXPECT_EQ(face.top, 220);
  // A bad handle or a null rect: FALSE, and the rect is left as it was.
  RECT untouched = {1, 2, 3, 4};
  EXPECT_FALSE(XWidget_GetRect(reinterpret_cast<HXCGUI>(window_), &untouched));
  EXPECT_FALSE(XWidget_GetRect(XC_GetObjectByName(L"no_such_name"), &untouched));
  EXPECT_FALSE(XWidget_GetRect(main_page, nullptr));
  RECT same = {1, 2, 3, 4};
  EXPECT_TRUE(EqualRect(&untouched, &same));
}

TEST_F(Widgets, RunLoopEndsWhenTheLastWindowCloses) {
  HWINDOW second = reinterpret_cast<HWINDOW>(XC_LoadLayoutZip(kArchive, L"main.xml", kPassword, nullptr, nullptr));
  ASSERT_NE(second, nullptr);
  XWnd_Show(window_, TRUE);
  PostMessageW(XWnd_GetHWND(second), WM_CLOSE, 0, 0);
  PostMessageW(hwnd_, WM_CLOSE, 0, 0);
  XRunXCGUI();
  EXPECT_EQ(XWnd_GetHWND(window_), nullptr);
  EXPECT_EQ(XWnd_GetHWND(second), nullptr);
  XRunXCGUI();  // no window: returns at once
}

// Tab order in a window whose controls come first in its tree and whose page is loaded afterwards, as a
// program builds its window: the page's controls in tree order, then minimise, then close.
class TabOrder : public LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    ASSERT_TRUE(XC_LoadResourceZip(kArchive, L"resource.res", kPassword));
    window_ = reinterpret_cast<HWINDOW>(XC_LoadLayoutZip(kArchive, L"tab_window.xml", kPassword, nullptr, nullptr));
    ASSERT_NE(window_, nullptr);
    ASSERT_NE(XC_LoadLayoutZip(kArchive, L"tab_page.xml", kPassword, reinterpret_cast<HXCGUI>(window_), nullptr),
              nullptr);
    hwnd_ = XWnd_GetHWND(window_);
  }
  // The names of the focused element after each of `presses` Tab presses.
  std::vector<std::wstring> Walk(int presses, bool backward) {
    std::vector<std::wstring> seen;
    for (int i = 0; i < presses; ++i) {
      SendTab(hwnd_, backward);
      std::wstring focused;
      for (const wchar_t* name : {L"tab_path", L"tab_browse", L"tab_install", L"tab_min", L"tab_close"}) {
        if (XEle_GetStateFlags(reinterpret_cast<HELE>(XC_GetObjectByName(name))) & element_state_flag_focus) {
          focused += name;
        }
      }
      seen.push_back(focused);
    }
    return seen;
  }

  HWINDOW window_ = nullptr;
  HWND hwnd_ = nullptr;
};

TEST_F(TabOrder, PageControlsFirstThenMinimiseThenClose) {
  EXPECT_EQ(Walk(6, false), (std::vector<std::wstring>{L"tab_path", L"tab_browse", L"tab_install", L"tab_min",
                                                        L"tab_close", L"tab_path"}));
  EXPECT_EQ(Walk(3, true), (std::vector<std::wstring>{L"tab_close", L"tab_min", L"tab_install"}));
}

TEST_F(TabOrder, HiddenControlsAreSkipped) {
  XWidget_Show(XC_GetObjectByName(L"tab_min"), FALSE);
  XWidget_Show(XC_GetObjectByName(L"tab_browse"), FALSE);
  EXPECT_EQ(Walk(4, false), (std::vector<std::wstring>{L"tab_path", L"tab_install", L"tab_close", L"tab_path"}));
}

}  // namespace
}  // namespace xcgui_test
