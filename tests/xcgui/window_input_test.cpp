// The window under real input (xdotool) and real screen pixels: faces follow the mouse, window controls
// light up, focus rings stay inside their faces, clicks arrive once, the body drags the window,
// double-clicks do not maximise, typing reaches the edit, the progress bar is a rounded track with a
// rounded fill, the window has an edge, Chinese text renders, and covering leaves no damage.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "tests/xcgui/screen.h"
#include "tests/xcgui/test_support.h"

namespace xcgui_test {
namespace {

constexpr uint32_t kFaceNormal = 0xC03030;
constexpr uint32_t kFaceHover = 0x30C030;
constexpr uint32_t kFacePressed = 0x3030C0;
constexpr uint32_t kBanner = 0x202040;
constexpr uint32_t kBar = 0x1E88E5;
constexpr uint32_t kBarTrack = 0xDDDDDD;
constexpr uint32_t kWhite = 0xFFFFFF;

int Luma(uint32_t color) {
  return static_cast<int>((((color >> 16) & 0xFF) * 299 + ((color >> 8) & 0xFF) * 587 + (color & 0xFF) * 114) / 1000);
}

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
    RECT rect = {};
    EXPECT_TRUE(XWidget_GetRect(XC_GetObjectByName(name), &rect)) << name;
    MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }
  // The pixels of a screen rectangle once painting has settled.
  Screenshot Shot(const RECT& rect) {
    PumpMessages(250);
    auto shot = GrabScreen(rect);
    EXPECT_TRUE(shot);
    return shot ? *shot : Screenshot{};
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
  // The colour at a screen point once it is no longer `before` (or `before` after a while).
  uint32_t PixelChangedFrom(POINT point, uint32_t before) {
    uint32_t now = before;
    for (int i = 0; i < 10 && ColorNear(now, before, 2); ++i) now = PixelAt(point);
    return now;
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

TEST_F(RealWindow, WindowControlsLightUpUnderTheMouseAndWhenPressed) {
  struct Case {
    const wchar_t* name;
    std::optional<uint32_t> hover;    // the fill under the mouse, when it is a fixed colour
    std::optional<uint32_t> pressed;
  } cases[] = {
      {L"btn_close", 0xE81123, 0xB30E1C},  // red, darker red
      {L"btn_min", std::nullopt, std::nullopt},  // a veil of the white glyph's colour, thicker when pressed
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::wstring(c.name).c_str());
    RECT rect = ScreenRectOf(c.name);
    POINT corner = {rect.left + 2, rect.top + 2};
    POINT center = CenterOf(rect);
    uint32_t normal = PixelAt(corner);
    EXPECT_TRUE(ColorNear(normal, kBanner));  // no face of its own
    MouseMove(center.x, center.y);
    uint32_t hover = PixelChangedFrom(corner, normal);
    MouseDown();
    uint32_t pressed = PixelChangedFrom(corner, hover);
    // Released outside: no click, and the control is back to normal.
    MouseMove(rect.left - 200, rect.top + 150);
    MouseUp();
    EXPECT_TRUE(WaitForPixel(corner, normal));
    if (c.hover) {
      EXPECT_TRUE(ColorNear(hover, *c.hover)) << std::hex << hover;
      EXPECT_TRUE(ColorNear(pressed, *c.pressed)) << std::hex << pressed;
    } else {
      EXPECT_GT(Luma(hover), Luma(normal) + 15) << std::hex << hover;
      EXPECT_GT(Luma(pressed), Luma(hover) + 15) << std::hex << pressed;
    }
  }
  EXPECT_TRUE(IsWindowVisible(hwnd_));
  EXPECT_FALSE(IsIconic(hwnd_));
}

TEST_F(RealWindow, WindowControlGlyphsAreDrawnCrisply) {
  // The close glyph: two anti-aliased diagonals, white ink fading into the banner at their sides, crossing
  // in the middle.
  Screenshot close = Shot(ScreenRectOf(L"btn_close"));
  int ink = 0;
  int partial = 0;
  for (uint32_t pixel : close.pixels) {
    if (Luma(pixel) > 200) ++ink;
    else if (Luma(pixel) > Luma(kBanner) + 20) ++partial;
  }
  EXPECT_GE(ink, 10);
  EXPECT_GE(partial, 10);
  int middle_x = close.width / 2;
  int middle_y = close.height / 2;
  EXPECT_GT(Luma(close.At(middle_x - 1, middle_y - 1)) + Luma(close.At(middle_x, middle_y)), 300);
  // The minimise glyph: one sharp row of white, nothing blurred above or below it.
  Screenshot minimise = Shot(ScreenRectOf(L"btn_min"));
  std::vector<int> white_per_row(minimise.height, 0);
  int blurred = 0;
  for (int y = 0; y < minimise.height; ++y) {
    for (int x = 0; x < minimise.width; ++x) {
      uint32_t pixel = minimise.At(x, y);
      if (ColorNear(pixel, kWhite)) ++white_per_row[y];
      else if (!ColorNear(pixel, kBanner)) ++blurred;
    }
  }
  int rows = 0;
  for (int count : white_per_row) {
    if (count > 0) {
      ++rows;
      EXPECT_GE(count, 8);
    }
  }
  EXPECT_EQ(rows, 1);
  EXPECT_EQ(blurred, 0);
}

TEST_F(RealWindow, FocusRingsStayInsideTheFaceAndFollowTheTabOrder) {
  // Each Tab press focuses the next control; its look changes only inside its visible face, never on
  // the transparent corners of a rounded picture face or along the element's own edge.
  const wchar_t* order[] = {L"btn_face", L"edit_path", L"btn_plain", L"btn_min", L"btn_close"};
  RECT frame;
  GetWindowRect(hwnd_, &frame);
  MouseMove(frame.left + 300, frame.top + 100);  // the keyboard gets the focus, not a click
  Screenshot unfocused = Shot(frame);
  for (const wchar_t* name : order) {
    SCOPED_TRACE(std::wstring(name).c_str());
    Keys("Tab");
    HELE element = reinterpret_cast<HELE>(XC_GetObjectByName(name));
    ASSERT_TRUE(PumpUntil([&] { return (XEle_GetStateFlags(element) & element_state_flag_focus) != 0; }));
    if (std::wstring(name) == L"edit_path") continue;  // an edit shows focus with its border and caret
    Screenshot focused = Shot(frame);
    RECT rect = ScreenRectOf(name);
    OffsetRect(&rect, -frame.left, -frame.top);
    uint32_t face_color = unfocused.At((rect.left + rect.right) / 2, rect.top + 4);
    int changed = 0;
    int outside = 0;
    int top = 0, bottom = 0, left = 0, right = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
      for (int x = rect.left; x < rect.right; ++x) {
        if (ColorNear(unfocused.At(x, y), focused.At(x, y), 2)) continue;
        ++changed;
        bool near_edge = x < rect.left + 2 || x >= rect.right - 2 || y < rect.top + 2 || y >= rect.bottom - 2;
        if (near_edge || !ColorNear(unfocused.At(x, y), face_color, 24)) ++outside;
        top += y < rect.top + 6;
        bottom += y >= rect.bottom - 6;
        left += x < rect.left + 6;
        right += x >= rect.right - 6;
      }
    }
    EXPECT_GE(changed, (rect.right - rect.left) + (rect.bottom - rect.top));
    EXPECT_EQ(outside, 0);
    // A closed ring: seen near all four sides.
    EXPECT_TRUE(top > 0 && bottom > 0 && left > 0 && right > 0) << top << " " << bottom << " " << left << " " << right;
  }
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

TEST_F(RealWindow, ProgressBarIsARoundedTrackWithARoundedFill) {
  HELE bar = reinterpret_cast<HELE>(XC_GetObjectByName(L"bar"));
  RECT rect = ScreenRectOf(L"bar");  // 500 x 16 on white
  struct Point {
    int x;
    int y;
    uint32_t color;
  };
  struct Case {
    int position;
    int filled;  // fill pixels on the middle row
    std::vector<Point> points;
  } cases[] = {
      // No fill at 0; the track's corners are round (background), its inside is the track colour.
      {0, 0, {{1, 1, kWhite}, {498, 14, kWhite}, {8, 1, kBarTrack}, {3, 8, kBarTrack}, {250, 8, kBarTrack}}},
      // A small position still shows a round dot as wide as the bar is high.
      {1, 16, {{1, 1, kWhite}, {3, 8, kBar}, {8, 1, kBar}, {14, 1, kBarTrack}, {20, 8, kBarTrack}}},
      // Half-way: both ends of the fill are round.
      {50, 250, {{1, 1, kWhite}, {8, 1, kBar}, {3, 8, kBar}, {240, 8, kBar}, {249, 1, kBarTrack}, {260, 8, kBarTrack}}},
      {37, 185, {{3, 8, kBar}, {200, 8, kBarTrack}}},
      {100, 500, {{1, 1, kWhite}, {498, 1, kWhite}, {250, 1, kBar}, {496, 8, kBar}}},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(XProgBar_SetPos(bar, c.position));
    Screenshot shot = Shot(rect);
    ASSERT_EQ(shot.width, 500);
    for (const Point& p : c.points) {
      EXPECT_TRUE(ColorNear(shot.At(p.x, p.y), p.color, 12))
          << c.position << "% at " << p.x << "," << p.y << ": " << std::hex << shot.At(p.x, p.y);
    }
    int filled = 0;
    int track = 0;
    for (int x = 0; x < shot.width; ++x) {
      if (ColorNear(shot.At(x, 8), kBar)) ++filled;
      if (ColorNear(shot.At(x, 8), kBarTrack)) ++track;
    }
    EXPECT_NEAR(filled, c.filled, 2) << c.position;
    EXPECT_NEAR(filled + track, 500, 3) << c.position;
  }
}

TEST_F(RealWindow, TheWindowHasAnEdgeDrawnOverItsContent) {
  // Without a border colour in the layout: a translucent dark edge, over the dark banner at the top and
  // over the white page at the bottom. With one (the second window): that colour all round.
  auto framed = reinterpret_cast<HWINDOW>(XC_LoadLayoutZip(kArchive, L"tab_window.xml", kPassword, nullptr, nullptr));
  ASSERT_NE(framed, nullptr);
  struct Case {
    HWINDOW window;
    uint32_t top_edge;
    uint32_t top_inside;
    uint32_t bottom_edge;
    uint32_t bottom_inside;
  } cases[] = {
      {window_, 0x131326, kBanner, 0x999999, kWhite},
      {framed, 0x3366CC, kWhite, 0x3366CC, kWhite},  // shown over the first one once that is checked
  };
  for (const Case& c : cases) {
    XWnd_Show(c.window, TRUE);
    HWND hwnd = XWnd_GetHWND(c.window);
    RECT client;
    GetClientRect(hwnd, &client);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    Screenshot shot = Shot(client);
    ASSERT_EQ(shot.height, client.bottom - client.top);
    int w = shot.width;
    int h = shot.height;
    int wrong = 0;
    for (int x = 0; x < w; ++x) {
      wrong += !ColorNear(shot.At(x, 0), c.top_edge) + !ColorNear(shot.At(x, h - 1), c.bottom_edge);
    }
    for (int y = h - 60; y < h; ++y) {
      wrong += !ColorNear(shot.At(0, y), c.bottom_edge) + !ColorNear(shot.At(w - 1, y), c.bottom_edge);
    }
    EXPECT_EQ(wrong, 0) << std::hex << shot.At(w / 2, 0) << " " << shot.At(w / 2, h - 1);
    EXPECT_TRUE(ColorNear(shot.At(w / 4, 1), c.top_inside)) << std::hex << shot.At(w / 4, 1);
    EXPECT_TRUE(ColorNear(shot.At(w / 4, h - 2), c.bottom_inside)) << std::hex << shot.At(w / 4, h - 2);
    EXPECT_TRUE(ColorNear(shot.At(1, h - 30), c.bottom_inside));
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
