// Decoding images from memory: PNG with alpha, other formats, refusal of anything else, and the measure of
// a picture's visible face that focus rings follow.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/xcgui/test_support.h"
#include "xcgui/src/context.h"
#include "xcgui/src/image.h"

namespace xcgui_test {
namespace {

std::string ReadFixture(const wchar_t* name) {
  std::string data;
  FILE* file = _wfopen((std::wstring(XCGUI_TEST_FIXTURE_DIR) + L"\\" + name).c_str(), L"rb");
  if (!file) return data;
  char chunk[4096];
  for (size_t n; (n = fread(chunk, 1, sizeof(chunk), file)) > 0;) data.append(chunk, n);
  fclose(file);
  return data;
}

const xcgui::Image* Decoded(HIMAGE handle) { return xcgui::Context::Current()->Find<xcgui::Image>(handle); }

class Images : public LibraryTest {};

TEST_F(Images, PngKeepsItsAlpha) {
  std::string png = ReadFixture(L"alpha.png");
  ASSERT_FALSE(png.empty());
  HIMAGE image = XImage_LoadMemory(png.data(), static_cast<int>(png.size()));
  ASSERT_NE(image, nullptr);
  const xcgui::Image* decoded = Decoded(image);
  ASSERT_EQ(decoded->width(), 2);
  ASSERT_EQ(decoded->height(), 1);
  uint32_t half_red = decoded->PixelAt(0, 0);  // premultiplied: alpha ~0x80, red ~0x80
  EXPECT_NEAR(static_cast<int>(half_red >> 24), 0x80, 2);
  EXPECT_NEAR(static_cast<int>((half_red >> 16) & 0xFF), 0x80, 2);
  EXPECT_EQ(half_red & 0xFFFF, 0u);
  EXPECT_EQ(decoded->PixelAt(1, 0), 0xFF00FF00u);
}

TEST_F(Images, DecodesBitmapFiles) {
  // A 1x1 24-bit BMP holding one blue pixel.
  const unsigned char bmp[] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0, 1, 0,
                               0,   0,   1,  0, 24, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                               0,   0,   0,  0, 0, 0, 0xFF, 0, 0, 0};
  HIMAGE image = XImage_LoadMemory(bmp, sizeof(bmp));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(Decoded(image)->PixelAt(0, 0), 0xFF0000FFu);
}

TEST_F(Images, RefusesNullEmptyAndUndecodableData) {
  std::string png = ReadFixture(L"face_normal.png");
  std::string truncated = png.substr(0, png.size() / 2);
  std::string garbage(200, '\x5A');
  EXPECT_EQ(XImage_LoadMemory(nullptr, 10), nullptr);
  EXPECT_EQ(XImage_LoadMemory(png.data(), 0), nullptr);
  EXPECT_EQ(XImage_LoadMemory(png.data(), -5), nullptr);
  EXPECT_EQ(XImage_LoadMemory(garbage.data(), static_cast<int>(garbage.size())), nullptr);
  EXPECT_EQ(XImage_LoadMemory(truncated.data(), static_cast<int>(truncated.size())), nullptr);
  EXPECT_NE(XImage_LoadMemory(png.data(), static_cast<int>(png.size())), nullptr);
}

TEST_F(Images, FacesAreMeasuredFromTheirVisiblePixels) {
  struct Case {
    const wchar_t* file;
    RECT bounds;
    float corner_radius;
    bool dark;
  } cases[] = {
      {L"face_normal.png", {0, 0, 120, 40}, 12, true},  // a red face with corners rounded by 12 pixels
      {L"face_pill.png", {4, 4, 196, 36}, 16, false},   // a light pill inside a transparent margin
      {L"banner.png", {0, 0, 600, 255}, 0, true},       // square, and transparent below row 255
  };
  for (const Case& c : cases) {
    std::string png = ReadFixture(c.file);
    HIMAGE image = XImage_LoadMemory(png.data(), static_cast<int>(png.size()));
    ASSERT_NE(image, nullptr);
    const xcgui::FaceShape& face = Decoded(image)->face();
    EXPECT_TRUE(EqualRect(&face.bounds, &c.bounds)) << face.bounds.left << "," << face.bounds.top << ","
                                                    << face.bounds.right << "," << face.bounds.bottom;
    EXPECT_NEAR(face.corner_radius, c.corner_radius, 2.5f);
    EXPECT_EQ(face.dark, c.dark);
  }
}

}  // namespace
}  // namespace xcgui_test
