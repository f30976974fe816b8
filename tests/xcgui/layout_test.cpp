// Layouts from the encrypted archive: windows, pages inside windows and elements, lookup by name, and
// refusal of malformed layouts without leftovers.
#include <gtest/gtest.h>

#include "tests/xcgui/test_support.h"
#include "xcgui/src/context.h"
#include "xcgui/src/widget.h"

namespace xcgui_test {
namespace {

BOOL CALLBACK CountIfLibraryWindow(HWND hwnd, LPARAM counter) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  if (std::wstring(name) == L"XCGUI_Window") ++*reinterpret_cast<int*>(counter);
  return TRUE;
}

int CountLibraryWindows() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), &CountIfLibraryWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

xcgui::Widget* Widget(HXCGUI handle) { return xcgui::Context::Current()->Find<xcgui::Widget>(handle); }

class Layout : public LibraryTest {};

TEST_F(Layout, MainWindowHasTheLayoutsSizeTitleAndPlaceAndStartsHidden) {
  HWINDOW window = LoadMainWindow();
  HWND hwnd = XWnd_GetHWND(window);
  ASSERT_NE(hwnd, nullptr);
  EXPECT_FALSE(IsWindowVisible(hwnd));
  RECT client;
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 600);
  EXPECT_EQ(client.bottom, 420);
  wchar_t title[64] = {};
  GetWindowTextW(hwnd, title, 64);
  EXPECT_STREQ(title, L"\x6D4B\x8BD5\x7A97\x53E3");
  RECT frame;
  GetWindowRect(hwnd, &frame);
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR((frame.left + frame.right) / 2, (work.left + work.right) / 2, 1);
  EXPECT_NEAR((frame.top + frame.bottom) / 2, (work.top + work.bottom) / 2, 1);
  ASSERT_TRUE(XWnd_Show(window, TRUE));
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_FALSE(GetWindowLongW(hwnd, GWL_STYLE) & WS_CAPTION);
}

TEST_F(Layout, PagesLoadIntoWindowsAndElementsAndNamesAreFoundAcrossLayouts) {
  HWINDOW window = LoadMainWindow();
  HXCGUI page = XC_LoadLayoutZip(kArchive, L"page.xml", kPassword, reinterpret_cast<HXCGUI>(window), nullptr);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(XC_GetObjectByName(L"page_extra"), page);
  HXCGUI main_page = XC_GetObjectByName(L"page_main");
  ASSERT_NE(main_page, nullptr);
  HXCGUI nested = XC_LoadLayoutZip(kArchive, L"page.xml", kPassword, main_page, nullptr);
  ASSERT_NE(nested, nullptr);
  EXPECT_EQ(Widget(nested)->parent(), Widget(main_page));
  // Of two equal names the earlier created wins; shapes are found like elements.
  EXPECT_EQ(XC_GetObjectByName(L"page_extra"), page);
  EXPECT_NE(XC_GetObjectByName(L"title_text"), nullptr);
  EXPECT_NE(XC_GetObjectByName(L"bar"), nullptr);
  EXPECT_EQ(XC_GetObjectByName(L"no_such_name"), nullptr);
  EXPECT_EQ(XC_GetObjectByName(L""), nullptr);
  EXPECT_EQ(XC_GetObjectByName(nullptr), nullptr);
  // Fill sizes follow the parent; sizes and positions come from rect.
  EXPECT_EQ(Widget(page)->width(), 600);
  EXPECT_EQ(Widget(XC_GetObjectByName(L"btn_face"))->ClientRect().top, 255 + 20);
}

TEST_F(Layout, StyleSheetRulesAndInlineAttributesReachTheWidgets) {
  LoadMainWindow();
  xcgui::Widget* title = Widget(XC_GetObjectByName(L"title_text"));
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->Font().size, 28);  // #title_text { font: big }
  EXPECT_TRUE(title->Font().bold);
  EXPECT_EQ(title->style().color, 0xFF000000u);  // the name rule beats the class rule
  EXPECT_EQ(title->text(), L"\x5B89\x88C5\x6210\x529F");
  xcgui::Widget* tofu = Widget(XC_GetObjectByName(L"tofu_text"));
  EXPECT_EQ(tofu->Font().size, 28);                   // inline attribute
  EXPECT_EQ(tofu->Font().face, L"Microsoft YaHei");   // the window's font from the sheet
  EXPECT_EQ(Widget(XC_GetObjectByName(L"bar"))->style().bar_color, 0xFF1E88E5u);  // named colour
}

TEST_F(Layout, MalformedLayoutsGiveZeroAndCreateNothing) {
  HWINDOW window = LoadMainWindow();
  auto parent = reinterpret_cast<HXCGUI>(window);
  size_t children = Widget(XC_GetObjectByName(L"page_main"))->parent()->children().size();
  const wchar_t* bad[] = {L"bad_xml.xml", L"bad_attr.xml", L"bad_image.xml", L"bad_root.xml",
                          L"bad_rect.xml", L"bad_dtd.xml", L"style.css", L"missing.xml"};
  for (const wchar_t* member : bad) {
    EXPECT_EQ(XC_LoadLayoutZip(kArchive, member, kPassword, parent, nullptr), nullptr) << member;
  }
  EXPECT_EQ(XC_LoadLayoutZip(kArchive, L"page.xml", L"wrong", parent, nullptr), nullptr);
  EXPECT_EQ(XC_LoadLayoutZip(kArchive, L"bad_window.xml", kPassword, nullptr, nullptr), nullptr);  // too wide
  EXPECT_EQ(Widget(XC_GetObjectByName(L"page_main"))->parent()->children().size(), children);
  EXPECT_EQ(XC_GetObjectByName(L"broken"), nullptr);
  EXPECT_EQ(XC_GetObjectByName(L"odd"), nullptr);
  EXPECT_EQ(CountLibraryWindows(), 1);
}

TEST_F(Layout, RootsNeedTheRightKindOfParent) {
  HWINDOW window = LoadMainWindow();
  HXCGUI button = XC_GetObjectByName(L"btn_face");
  // An element layout needs a window or an element; a window layout is owned by a window only.
  EXPECT_EQ(XC_LoadLayoutZip(kArchive, L"page.xml", kPassword, nullptr, nullptr), nullptr);
  EXPECT_EQ(XC_LoadLayoutZip(kArchive, L"main.xml", kPassword, XC_GetObjectByName(L"page_main"), nullptr), nullptr);
  EXPECT_EQ(XC_LoadLayoutZip(kArchive, L"page.xml", kPassword, reinterpret_cast<HXCGUI>(0x4321), nullptr), nullptr);
  EXPECT_EQ(XC_LoadLayoutZip(kArchive, L"page.xml", kPassword, reinterpret_cast<HXCGUI>(window),
                             XWnd_GetHWND(window)),
            nullptr);
  EXPECT_NE(XC_LoadLayoutZip(kArchive, L"page.xml", kPassword, button, nullptr), nullptr);
  HXCGUI owned = XC_LoadLayoutZip(kArchive, L"main.xml", kPassword, reinterpret_cast<HXCGUI>(window), nullptr);
  ASSERT_NE(owned, nullptr);
  EXPECT_EQ(GetWindow(XWnd_GetHWND(reinterpret_cast<HWINDOW>(owned)), GW_OWNER), XWnd_GetHWND(window));
  EXPECT_EQ(CountLibraryWindows(), 2);
}

}  // namespace
}  // namespace xcgui_test
