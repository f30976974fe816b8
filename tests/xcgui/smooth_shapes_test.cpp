// Smooth shapes drawn into pixels: full cover inside, none outside, partial cover along curved and
// slanted edges, colours blended by their alpha, and nothing outside the clip.
#include "xcgui/src/smooth_shapes.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace xcgui_test {
namespace {

constexpr uint32_t kPaper = 0xAAFFFFFF;  // white, with a top byte the shapes must leave alone
constexpr uint32_t kInk = 0xAA000000;
constexpr int kWidth = 20;
constexpr int kHeight = 12;

struct Expect {
  int x;
  int y;
  int low;   // the blue channel lies in low..high
  int high;
};

struct Case {
  const char* name;
  std::function<void(const xcgui::PixelTarget&, const RECT&)> draw;
  RECT clip;
  std::vector<Expect> pixels;
};

TEST(SmoothShapes, CoverPixelsByTheirDistanceFromTheEdge) {
  const RECT all = {0, 0, kWidth, kHeight};
  const Case cases[] = {
      {"rounded rectangle",
       [](const xcgui::PixelTarget& t, const RECT& clip) {
         xcgui::FillRoundRect(t, clip, {2, 2, 18, 10}, 3, 0xFF000000);
       },
       all,
       {{10, 6, 0, 0},        // inside
        {2, 6, 0, 0},         // on a straight side, fully inside it
        {1, 6, 255, 255},     // just outside it
        {2, 2, 230, 255},     // the rounded-off corner
        {2, 3, 60, 200},      // along the curve: partly covered
        {18, 6, 255, 255}}},  // past the right edge
      {"clipped",
       [](const xcgui::PixelTarget& t, const RECT& clip) {
         xcgui::FillRoundRect(t, clip, {2, 2, 18, 10}, 0, 0xFF000000);
       },
       {0, 0, 10, 12},
       {{9, 6, 0, 0}, {10, 6, 255, 255}, {17, 6, 255, 255}}},
      {"half transparent",
       [](const xcgui::PixelTarget& t, const RECT& clip) {
         xcgui::FillRoundRect(t, clip, {0, 0, 20, 12}, 0, 0x80000000);
       },
       all,
       {{5, 5, 125, 129}}},
      {"horizontal stroke",
       [](const xcgui::PixelTarget& t, const RECT& clip) {
         xcgui::StrokeLine(t, clip, {2, 5.5f}, {8, 5.5f}, 1, 0xFF000000);
       },
       all,
       {{2, 5, 0, 0}, {7, 5, 0, 0}, {1, 5, 255, 255}, {8, 5, 255, 255}, {5, 4, 255, 255}, {5, 6, 255, 255}}},
      {"diagonal stroke",
       [](const xcgui::PixelTarget& t, const RECT& clip) {
         xcgui::StrokeLine(t, clip, {2, 2}, {10, 10}, 1, 0xFF000000);
       },
       all,
       {{5, 5, 0, 0}, {6, 5, 60, 220}, {5, 6, 60, 220}, {8, 4, 255, 255}}},
      {"ring",
       [](const xcgui::PixelTarget& t, const RECT& clip) {
         xcgui::StrokeRoundRect(t, clip, {2.5f, 2.5f, 17.5f, 9.5f}, 2, 1, 0xFF000000);
       },
       all,
       {{10, 2, 0, 0}, {10, 9, 0, 0}, {2, 6, 0, 0}, {17, 6, 0, 0}, {10, 6, 255, 255}, {10, 1, 255, 255},
        {2, 2, 150, 255}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint32_t> pixels(kWidth * kHeight, kPaper);
    xcgui::PixelTarget target{pixels.data(), kWidth, kHeight};
    c.draw(target, c.clip);
    for (const Expect& e : c.pixels) {
      uint32_t pixel = pixels[e.y * kWidth + e.x];
      int blue = static_cast<int>(pixel & 0xFF);
      EXPECT_TRUE(blue >= e.low && blue <= e.high) << e.x << "," << e.y << ": " << blue;
      EXPECT_EQ((pixel >> 8) & 0xFF, pixel & 0xFF) << "grey stays grey";
    }
    for (uint32_t pixel : pixels) ASSERT_EQ(pixel & 0xFF000000, kInk & 0xFF000000);
  }
}

TEST(SmoothShapes, EmptyShapesTargetsAndColoursDrawNothing) {
  std::vector<uint32_t> pixels(kWidth * kHeight, kPaper);
  xcgui::PixelTarget target{pixels.data(), kWidth, kHeight};
  const RECT all = {0, 0, kWidth, kHeight};
  xcgui::FillRoundRect(target, all, {5, 5, 5, 10}, 2, 0xFF000000);   // no width
  xcgui::FillRoundRect(target, all, {0, 0, 20, 12}, 2, 0x00000000);  // no alpha
  xcgui::StrokeLine(target, all, {0, 0}, {20, 12}, 0, 0xFF000000);   // no width
  xcgui::FillRoundRect(target, {0, 0, 0, 0}, {0, 0, 20, 12}, 0, 0xFF000000);  // empty clip
  xcgui::FillRoundRect(xcgui::PixelTarget{}, all, {0, 0, 20, 12}, 0, 0xFF000000);  // no pixels
  for (uint32_t pixel : pixels) ASSERT_EQ(pixel, kPaper);
}

}  // namespace
}  // namespace xcgui_test
