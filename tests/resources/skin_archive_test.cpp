// The installer's UI archive as built, read through our UI library: it opens only with its password, and
// its window and pages hold the elements the installer looks up, of the kinds, sizes and places the
// installer and its pictures rely on, reachable from the keyboard in the order of the start page.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/dib_image.h"
#include "runtime/gdiplus_session.h"
#include "tests/xcgui/test_support.h"
#include "xcgui/src/button.h"
#include "xcgui/src/context.h"
#include "xcgui/src/widget.h"
#include "xcgui/src/window.h"
#include "xcgui/xcgui.h"

namespace {

using xcgui::WidgetType;
using xcgui_test::EventCall;
using xcgui_test::TestRecord;

const wchar_t kArchive[] = VEXO_UI_ARCHIVE;
const wchar_t kPassword[] = L"730418";
const wchar_t* const kPageLayouts[] = {L"a1.xml", L"a2.xml", L"a3.xml"};
const wchar_t* const kAllLayouts[] = {L"main.xml", L"a1.xml", L"a2.xml", L"a3.xml"};

// The pages are placed below the banner's dark band and fill the rest of the 600 x 420 window.
constexpr int kWindowWidth = 600;
constexpr int kWindowHeight = 420;
constexpr int kPageHeight = 165;

xcgui::Widget* WidgetOf(HXCGUI handle) { return xcgui::Context::Current()->Find<xcgui::Widget>(handle); }

class SkinArchive : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(XInitXCGUI(FALSE)); }
  void TearDown() override { XExitXCGUI(); }
};

TEST_F(SkinArchive, OpensOnlyWithItsPassword) {
  EXPECT_FALSE(XC_LoadResourceZip(kArchive, L"resource.res", L"730419"));
  EXPECT_FALSE(XC_LoadResourceZip(kArchive, L"resource.res", L""));
  ASSERT_TRUE(XC_LoadResourceZip(kArchive, L"resource.res", kPassword));
  for (const wchar_t* layout : kAllLayouts) {
    EXPECT_EQ(XC_LoadLayoutZip(kArchive, layout, L"730419", nullptr, nullptr), nullptr) << layout;
  }
}

// The window and its three pages loaded as the installer loads them.
class SkinWindow : public SkinArchive {
 protected:
  void SetUp() override {
    SkinArchive::SetUp();
    ASSERT_TRUE(XC_LoadResourceZip(kArchive, L"resource.res", kPassword));
    window_ = reinterpret_cast<HWINDOW>(XC_LoadLayoutZip(kArchive, L"main.xml", kPassword, nullptr, nullptr));
    ASSERT_NE(window_, nullptr);
    for (int i = 0; i < 3; ++i) {
      pages_[i] = XC_LoadLayoutZip(kArchive, kPageLayouts[i], kPassword, reinterpret_cast<HXCGUI>(window_),
                                   nullptr);
      ASSERT_NE(pages_[i], nullptr) << kPageLayouts[i];
    }
  }
  // Shows page `shown` alone, as the installer switches pages.
  void ShowOnly(int shown) {
    for (int i = 0; i < 3; ++i) XWidget_Show(pages_[i], i == shown);
  }
  void PressKey(UINT key) { SendMessageW(XWnd_GetHWND(window_), WM_KEYDOWN, key, 0); }
  // The window's root element: main.xml's widgets and the pages are its children.
  xcgui::Widget* Root() {
    xcgui::Window* window = xcgui::Context::Current()->Find<xcgui::Window>(window_);
    return window ? &window->root() : nullptr;
  }

  HWINDOW window_ = nullptr;
  HXCGUI pages_[3] = {};
};

TEST_F(SkinWindow, WindowIsTheSizeOfTheBannerAndPagesFillItBelowTheBand) {
  RECT client = {};
  ASSERT_TRUE(GetClientRect(XWnd_GetHWND(window_), &client));
  EXPECT_EQ(client.right, kWindowWidth);
  EXPECT_EQ(client.bottom, kWindowHeight);
  for (int i = 0; i < 3; ++i) {
    xcgui::Widget* page = WidgetOf(pages_[i]);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->width(), kWindowWidth) << kPageLayouts[i];
    EXPECT_EQ(page->height(), kPageHeight) << kPageLayouts[i];
  }
}

TEST_F(SkinWindow, NamedElementsHaveTheirKindsPagesAndPictureSizes) {
  constexpr int kWindow = -1;
  // Sizes are those of the pictures the installer puts on them (0: any size); a centred element sits in
  // the middle of the window's width.
  const struct {
    const wchar_t* name;
    WidgetType type;
    int page;
    int width;
    int height;
    bool centred;
  } expected[] = {
      {L"main_jsan", WidgetType::kButton, 0, 200, 40, true},
      {L"main_lj", WidgetType::kEdit, 0, 0, 0, false},
      {L"main_xzlj", WidgetType::kButton, 0, 40, 25, false},
      {L"main_jdt", WidgetType::kProgressBar, 1, 0, 0, true},
      {L"main_txt1", WidgetType::kShapeText, 1, 0, 0, false},
      {L"main_retry", WidgetType::kButton, 1, 0, 0, true},
      {L"main_ljty", WidgetType::kButton, 2, 200, 40, true},
      {L"main_dt", WidgetType::kShapePic, kWindow, kWindowWidth, kWindowHeight, true},
  };
  for (const auto& item : expected) {
    SCOPED_TRACE(testing::Message() << "element " << std::string(item.name, item.name + wcslen(item.name)));
    xcgui::Widget* widget = WidgetOf(XC_GetObjectByName(item.name));
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->type(), item.type);
    xcgui::Widget* parent = widget->parent();
    ASSERT_NE(parent, nullptr);
    if (item.page == kWindow) {
      EXPECT_EQ(parent, Root()) << "not in the window";
    } else {
      EXPECT_EQ(parent, WidgetOf(pages_[item.page])) << "not on its page";
    }
    if (item.width) {
      EXPECT_EQ(widget->width(), item.width);
      EXPECT_EQ(widget->height(), item.height);
    }
    EXPECT_GE(widget->x(), 0);
    EXPECT_GE(widget->y(), 0);
    EXPECT_LE(widget->x() + widget->width(), parent->width()) << "sticks out of its parent";
    EXPECT_LE(widget->y() + widget->height(), parent->height()) << "sticks out of its parent";
    if (item.centred) {
      EXPECT_EQ(widget->x() * 2 + widget->width(), kWindowWidth) << "not centred";
    }
  }
}

TEST_F(SkinWindow, BrowseButtonSitsBesideThePathField) {
  xcgui::Widget* edit = WidgetOf(XC_GetObjectByName(L"main_lj"));
  xcgui::Widget* browse = WidgetOf(XC_GetObjectByName(L"main_xzlj"));
  ASSERT_NE(edit, nullptr);
  ASSERT_NE(browse, nullptr);
  EXPECT_EQ(browse->y(), edit->y());
  EXPECT_EQ(browse->height(), edit->height());
  EXPECT_GE(browse->x(), edit->x() + edit->width());
  EXPECT_LE(browse->x(), edit->x() + edit->width() + 12);
}

TEST_F(SkinWindow, RetryButtonIsHiddenUntilTheProgramShowsIt) {
  EXPECT_FALSE(XWidget_IsShow(XC_GetObjectByName(L"main_retry")));
  for (const wchar_t* name : {L"main_jsan", L"main_lj", L"main_xzlj", L"main_jdt", L"main_txt1", L"main_ljty",
                              L"main_dt"}) {
    EXPECT_TRUE(XWidget_IsShow(XC_GetObjectByName(name))) << name;
  }
}

TEST_F(SkinWindow, RetryButtonFacesAreTheSizeOfItsPictures) {
  xcgui::Widget* retry = WidgetOf(XC_GetObjectByName(L"main_retry"));
  ASSERT_NE(retry, nullptr);
  static GdiplusSession gdiplus;
  for (const wchar_t* file : {L"retry_normal.png", L"retry_hover.png", L"retry_pressed.png"}) {
    DibImage picture;
    ASSERT_TRUE(picture.LoadFromFile(gdiplus, (std::wstring(VEXO_SKIN_DIR) + file).c_str())) << file;
    EXPECT_EQ(picture.width(), retry->width()) << file;
    EXPECT_EQ(picture.height(), retry->height()) << file;
  }
}

TEST_F(SkinWindow, TabGoesPathFieldThenBrowseThenInstall) {
  ShowOnly(0);
  const wchar_t* const names[] = {L"main_lj", L"main_xzlj", L"main_jsan"};
  std::vector<std::wstring> focused;
  for (const wchar_t* name : names) {
    auto* record = TestRecord::Make(1, this, XE_SETFOCUS,
                                    [&focused, name](const EventCall&, BOOL*) { focused.push_back(name); });
    ASSERT_TRUE(_XEle_RegEvent(reinterpret_cast<HELE>(XC_GetObjectByName(name)), XE_SETFOCUS, record));
  }
  // Once round the window's focus order, whatever else (window controls) it holds.
  for (int i = 0; i < 12 && focused.size() < 4; ++i) PressKey(VK_TAB);
  ASSERT_EQ(focused.size(), 4u);
  EXPECT_EQ(focused[0], names[0]);
  EXPECT_EQ(focused[1], names[1]);
  EXPECT_EQ(focused[2], names[2]);
  EXPECT_EQ(focused[3], names[0]);
}

TEST_F(SkinWindow, OnlyTheShownPageTakesTheFocus) {
  // Once the install has started, the path field and the browse button are out of reach.
  const wchar_t* const names[] = {L"main_lj", L"main_xzlj", L"main_jsan", L"main_retry", L"main_ljty"};
  std::vector<std::wstring> focused;
  for (const wchar_t* name : names) {
    auto* record = TestRecord::Make(1, this, XE_SETFOCUS,
                                    [&focused, name](const EventCall&, BOOL*) { focused.push_back(name); });
    ASSERT_TRUE(_XEle_RegEvent(reinterpret_cast<HELE>(XC_GetObjectByName(name)), XE_SETFOCUS, record));
  }
  const struct {
    int page;
    std::vector<std::wstring> reachable;
  } cases[] = {
      {0, {L"main_lj", L"main_xzlj", L"main_jsan"}},
      {1, {}},  // the retry button is hidden until a failure
      {2, {L"main_ljty"}},
  };
  for (const auto& item : cases) {
    ShowOnly(item.page);
    focused.clear();
    for (int i = 0; i < 12; ++i) PressKey(VK_TAB);
    std::sort(focused.begin(), focused.end());
    focused.erase(std::unique(focused.begin(), focused.end()), focused.end());
    std::vector<std::wstring> reachable = item.reachable;
    std::sort(reachable.begin(), reachable.end());
    EXPECT_EQ(focused, reachable) << "page " << item.page;
  }
}

TEST_F(SkinWindow, ButtonsClickFromTheKeyboard) {
  const struct {
    const wchar_t* name;
    int page;
  } buttons[] = {{L"main_xzlj", 0}, {L"main_jsan", 0}, {L"main_retry", 1}, {L"main_ljty", 2}};
  XWidget_Show(XC_GetObjectByName(L"main_retry"), TRUE);
  for (const auto& button : buttons) {
    ShowOnly(button.page);
    auto element = reinterpret_cast<HELE>(XC_GetObjectByName(button.name));
    bool focused = false;
    int clicks = 0;
    ASSERT_TRUE(_XEle_RegEvent(element, XE_SETFOCUS,
                               TestRecord::Make(1, this, 1, [&](const EventCall&, BOOL*) { focused = true; })));
    ASSERT_TRUE(_XEle_RegEvent(element, XE_BNCLICK,
                               TestRecord::Make(1, this, 2, [&](const EventCall&, BOOL*) { ++clicks; })));
    for (int i = 0; i < 12 && !focused; ++i) PressKey(VK_TAB);
    ASSERT_TRUE(focused) << "Tab never reaches " << std::string(button.name, button.name + wcslen(button.name));
    PressKey(VK_RETURN);
    EXPECT_EQ(clicks, 1) << std::string(button.name, button.name + wcslen(button.name));
  }
}

TEST_F(SkinWindow, WindowControlsCloseAndMinimise) {
  HWND hwnd = XWnd_GetHWND(window_);
  int close_requests = 0;
  ASSERT_TRUE(_XWnd_RegEvent(window_, XWM_CLOSE, TestRecord::Make(1, this, 1, [&](const EventCall&, BOOL* handled) {
                               ++close_requests;
                               *handled = TRUE;  // keep the window for the rest of the test
                             })));
  // The window's own buttons: the ones in its root, not on a page.
  std::vector<xcgui::Button*> controls;
  ASSERT_NE(Root(), nullptr);
  for (const auto& child : Root()->children()) {
    if (child->type() == WidgetType::kButton) controls.push_back(static_cast<xcgui::Button*>(child.get()));
  }
  ASSERT_EQ(controls.size(), 2u);
  for (xcgui::Button* control : controls) control->Click();
  EXPECT_EQ(close_requests, 1);
  EXPECT_TRUE(IsIconic(hwnd));
}

}  // namespace
