// The window under real input (xdotool) and real screen pixels: faces follow the mouse, clicks arrive
// once, the body drags the window, double-clicks do not maximise, typing reaches the edit, the progress
// bar's painted width follows its position, Chinese text renders, and covering leaves no damage.
#include <gtest/gtest.h>

#include "tests/xcgui/screen.h"
#include "tests/xcgui/test_support.h"
#include "xcgui/src/context.h"
#include "xcgui/src/widget.h"

namespace xcgui_test {
namespace {

constexpr uint32_t kFaceNormal = 0xC03030;
constexpr uint32_t kFaceHover = 0x30C030;
constexpr uint32_t kFacePressed = 0x3030C0;
constexpr uint32_t kBanner = 0x202040;
constexpr uint32_t kBar = 0x1E88E5;
constexpr uint32_t kBarTrack = 0xDDDDDD;

class RealWindow : public LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    window_ = LoadMainWindow();
    hwnd_ = XWnd_GetHWND(window_);
    ASSERT_TRUE(XWnd_Show(window_, TRUE));
    SetForegroundWindow(hwnd_);
    PumpMessages(300);
  }
  void TearDown() override {
    MouseUp();
    MouseMove(2, 2);
    LibraryTest::TearDown();
  }

  // Screen rectangle of a named widget.
  RECT ScreenRectOf(const wchar_t* name) {
    auto* widget = xcgui::Context::Current()->Find<xcgui::Widget>(XC_GetObjectByName(name));
    EXPECT_NE(widget, nullptr) << name;
    RECT rect = widget ? widget->ClientRect() : RECT{};
    MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }
  POINT CenterOf(const RECT& rect) { return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }
  // The colour at a screen point once painting has settled.
  uint32_t PixelAt(POINT point) {
    PumpMessages(150);
    auto shot = GrabScreen({point.x, point.y, point.x + 1, point.y + 1});
    EXPECT_TRUE(shot);
    return shot ? shot->At(0, 0) : 0xFFFFFFFF;
  }
  bool WaitForPixel(POINT point, uint32_t color) {
    for (int i = 0; i < 10; ++i) {
      if (ColorNear(PixelAt(point), color)) return true;
    }
    return false;
  }

  HWINDOW window_ = nullptr;
  HWND hwnd_ = nullptr;
};

TEST_F(RealWindow, ButtonFaceFollowsHoverPressAndLeave) {
  POINT face = CenterOf(ScreenRectOf(L"btn_face"));
  EXPECT_TRUE(WaitForPixel(face, kFaceNormal));
  MouseMove(face.x, face.y);
  EXPECT_TRUE(WaitForPixel(face, kFaceHover));
  MouseDown();
  EXPECT_TRUE(WaitForPixel(face, kFacePressed));
  // Still pressed, but the mouse has left: the face is the normal one; back inside, pressed again.
  MouseMove(face.x + 200, face.y + 60);
  EXPECT_TRUE(WaitForPixel(face, kFaceNormal));
  MouseMove(face.x, face.y);
  EXPECT_TRUE(WaitForPixel(face, kFacePressed));
  MouseUp();
  EXPECT_TRUE(WaitForPixel(face, kFaceHover));
  MouseMove(face.x, face.y + 100);
  EXPECT_TRUE(WaitForPixel(face, kFaceNormal));
}

TEST_F(RealWindow, AClickReachesTheBindingExactlyOnce) {
  TestRecord* record = TestRecord::Make(1, this, 1);
  HELE button = reinterpret_cast<HELE>(XC_GetObjectByName(L"btn_face"));
  ASSERT_TRUE(_XEle_RegEvent(button, XE_BNCLICK, record));
  TestBinding* binding = record->test_binding();
  POINT face = CenterOf(ScreenRectOf(L"btn_face"));
  MouseMove(face.x, face.y);
  MouseClick();
  EXPECT_TRUE(PumpUntil([&] { return binding->calls.size() >= 1; }));
  PumpMessages(300);
  EXPECT_EQ(binding->calls.size(), 1u);
  // Pressed inside, released outside: no click.
  MouseDown();
  MouseMove(face.x + 300, face.y);
  MouseUp();
  PumpMessages(300);
  EXPECT_EQ(binding->calls.size(), 1u);
  EXPECT_EQ(binding->calls[0].handle, reinterpret_cast<vint>(button));
}

TEST_F(RealWindow, DraggingTheBodyMovesTheWindowAndDoubleClicksDoNotMaximise) {
  RECT before;
  GetWindowRect(hwnd_, &before);
  POINT body = {before.left + 100, before.top + 100};  // on the banner picture
  MouseMove(body.x, body.y);
  MouseDown();
  for (int step = 1; step <= 5; ++step) MouseMove(body.x + step * 12, body.y + step * 7);
  MouseUp();
  RECT after;
  EXPECT_TRUE(PumpUntil([&] {
    GetWindowRect(hwnd_, &after);
    return after.left == before.left + 60 && after.top == before.top + 35;
  })) << after.left - before.left << "," << after.top - before.top;

  MouseMove(after.left + 100, after.top + 100);
  MouseClick(2);
  PumpMessages(400);
  EXPECT_FALSE(IsZoomed(hwnd_));
  SendMessageW(hwnd_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  ShowWindow(hwnd_, SW_MAXIMIZE);  // what Win+Up and the taskbar ask for
  PumpMessages(200);
  RECT now;
  GetWindowRect(hwnd_, &now);
  EXPECT_FALSE(IsZoomed(hwnd_));
  EXPECT_EQ(now.right - now.left, 600);
  EXPECT_EQ(now.bottom - now.top, 420);
}

TEST_F(RealWindow, TypingReachesTheEditAndAltF4Closes) {
  HELE edit = reinterpret_cast<HELE>(XC_GetObjectByName(L"edit_path"));
  POINT field = CenterOf(ScreenRectOf(L"edit_path"));
  MouseMove(field.x, field.y);
  MouseClick();
  PumpMessages(200);
  Keys("ctrl+a");
  TypeText("D:/Apps");
  Keys("BackSpace");
  TypeText("x");
  wchar_t text[64] = {};
  EXPECT_TRUE(PumpUntil([&] {
    XEdit_GetText(edit, text, 64);
    return std::wstring(text) == L"D:/Appx";
  })) << std::string(text, text + wcslen(text));
  // Paste replaces the selection with the clipboard's first line.
  const wchar_t pasted[] = L"E:\\\x5B89\x88C5\r\nignored";
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof(pasted));
  memcpy(GlobalLock(memory), pasted, sizeof(pasted));
  GlobalUnlock(memory);
  ASSERT_TRUE(OpenClipboard(hwnd_));
  EmptyClipboard();
  ASSERT_TRUE(SetClipboardData(CF_UNICODETEXT, memory));
  CloseClipboard();
  Keys("ctrl+a ctrl+v");
  EXPECT_TRUE(PumpUntil([&] {
    XEdit_GetText(edit, text, 64);
    return std::wstring(text) == L"E:\\\x5B89\x88C5";
  }));
  // Tab moves on to the next button; Space presses it.
  TestRecord* record = TestRecord::Make(1, this, 1);
  ASSERT_TRUE(_XEle_RegEvent(reinterpret_cast<HELE>(XC_GetObjectByName(L"btn_plain")), XE_BNCLICK, record));
  TestBinding* binding = record->test_binding();
  Keys("Tab space");
  EXPECT_TRUE(PumpUntil([&] { return binding->calls.size() == 1; }));
  Keys("alt+F4");
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(hwnd_); }));
}

TEST_F(RealWindow, ProgressBarPaintedWidthFollowsItsPosition) {
  HELE bar = reinterpret_cast<HELE>(XC_GetObjectByName(L"bar"));
  RECT rect = ScreenRectOf(L"bar");
  int row = (rect.top + rect.bottom) / 2;
  for (int position : {0, 37, 100, 64}) {
    ASSERT_TRUE(XProgBar_SetPos(bar, position));
    PumpMessages(200);
    auto shot = GrabScreen({rect.left, row, rect.right, row + 1});
    ASSERT_TRUE(shot);
    int filled = 0;
    int track = 0;
    for (int x = 0; x < shot->width; ++x) {
      if (ColorNear(shot->At(x, 0), kBar)) ++filled;
      if (ColorNear(shot->At(x, 0), kBarTrack)) ++track;
    }
    EXPECT_NEAR(filled, 500 * position / 100, 1) << position;
    EXPECT_NEAR(filled + track, 500, 1) << position;
  }
}

TEST_F(RealWindow, ChineseTextDrawsDistinctGlyphs) {
  RECT rect = ScreenRectOf(L"title_text");
  PumpMessages(200);
  auto shot = GrabScreen(rect);
  ASSERT_TRUE(shot);
  // The ink of "安装成功" (black on white), in columns; four glyphs side by side.
  int left = shot->width;
  int right = -1;
  std::vector<int> ink_per_column(shot->width, 0);
  for (int y = 0; y < shot->height; ++y) {
    for (int x = 0; x < shot->width; ++x) {
      if ((shot->At(x, y) & 0xFF) < 0x80) {
        ++ink_per_column[x];
        left = std::min(left, x);
        right = std::max(right, x);
      }
    }
  }
  ASSERT_GT(right, left);
  int cell = (right - left + 1) / 4;
  ASSERT_GT(cell, 10);
  std::vector<std::vector<int>> glyphs;
  for (int g = 0; g < 4; ++g) {
    glyphs.emplace_back(ink_per_column.begin() + left + g * cell, ink_per_column.begin() + left + (g + 1) * cell);
    int ink = 0;
    for (int v : glyphs.back()) ink += v;
    EXPECT_GT(ink, 40) << "glyph " << g << " is empty";
  }
  // Missing-glyph boxes would all look alike; real glyphs differ from one another.
  for (int a = 0; a < 4; ++a) {
    for (int b = a + 1; b < 4; ++b) EXPECT_NE(glyphs[a], glyphs[b]) << a << " and " << b;
  }
}

TEST_F(RealWindow, CoveringAndUncoveringLeavesTheFaceIntact) {
  POINT face = CenterOf(ScreenRectOf(L"btn_face"));
  RECT frame;
  GetWindowRect(hwnd_, &frame);
  POINT banner = {frame.left + 300, frame.top + 100};
  ASSERT_TRUE(WaitForPixel(face, kFaceNormal));
  HWND cover = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, frame.left - 10,
                               frame.top - 10, 640, 460, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(cover, nullptr);
  PumpMessages(200);
  EXPECT_FALSE(ColorNear(PixelAt(face), kFaceNormal));
  DestroyWindow(cover);
  EXPECT_TRUE(WaitForPixel(face, kFaceNormal));
  EXPECT_TRUE(WaitForPixel(banner, kBanner));
}

}  // namespace
}  // namespace xcgui_test
