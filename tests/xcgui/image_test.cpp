// Decoding images from memory: PNG with alpha, other formats, refusal of anything else, the measure of
// a picture's visible face that focus rings follow, and images decoded ahead on the library's own thread.
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

// A 1x1 24-bit BMP holding one pixel of the colour given by its blue, green and red bytes.
std::string OnePixelBmp(unsigned char blue, unsigned char green, unsigned char red) {
  const unsigned char bmp[] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0, 1, 0,
                               0,   0,   1,  0, 24, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                               0,   0,   0,  0, 0, 0, blue, green, red, 0};
  return std::string(reinterpret_cast<const char*>(bmp), sizeof(bmp));
}

HIMAGE Load(const std::string& bytes) { return XImage_LoadMemory(bytes.data(), static_cast<int>(bytes.size())); }
BOOL DecodeAhead(const std::string& bytes) {
  return XImage_DecodeAhead(bytes.data(), static_cast<int>(bytes.size()));
}

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

TEST_F(Images, AnImageDecodedAheadIsTheImageDecodedOnTheUiThread) {
  for (const wchar_t* file : {L"alpha.png", L"face_pill.png", L"banner.png"}) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(file)));
    const std::string png = ReadFixture(file);
    ASSERT_FALSE(png.empty());
    const xcgui::Image* direct = Decoded(Load(png));
    ASSERT_NE(direct, nullptr);
    ASSERT_TRUE(DecodeAhead(png));
    const xcgui::Image* ahead = Decoded(Load(png));
    ASSERT_NE(ahead, nullptr);
    ASSERT_NE(ahead, direct);
    ASSERT_EQ(ahead->width(), direct->width());
    ASSERT_EQ(ahead->height(), direct->height());
    for (int y = 0; y < direct->height(); ++y) {
      for (int x = 0; x < direct->width(); ++x) ASSERT_EQ(ahead->PixelAt(x, y), direct->PixelAt(x, y));
    }
    EXPECT_EQ(ahead->opaque(), direct->opaque());
    EXPECT_TRUE(EqualRect(&ahead->face().bounds, &direct->face().bounds));
    // GDI+ draws it: its bitmap reads the same pixels.
    ASSERT_NE(ahead->bitmap(), nullptr);
    Gdiplus::Color corner;
    ASSERT_EQ(ahead->bitmap()->GetPixel(0, 0, &corner), Gdiplus::Ok);
    EXPECT_EQ(corner.GetValue() >> 24, direct->PixelAt(0, 0) >> 24);
  }
}

TEST_F(Images, BytesDecodedAheadServeOnlyEqualBytes) {
  // Same size, other content: each load gets its own colour, whatever was queued.
  const std::string blue = OnePixelBmp(0xFF, 0, 0);
  const std::string red = OnePixelBmp(0, 0, 0xFF);
  ASSERT_EQ(blue.size(), red.size());
  ASSERT_TRUE(DecodeAhead(blue));
  HIMAGE red_image = Load(red);
  ASSERT_NE(red_image, nullptr);
  EXPECT_EQ(Decoded(red_image)->PixelAt(0, 0), 0xFFFF0000u);
  HIMAGE blue_image = Load(blue);
  ASSERT_NE(blue_image, nullptr);
  EXPECT_EQ(Decoded(blue_image)->PixelAt(0, 0), 0xFF0000FFu);
  // Taken once; the next load of the same bytes decodes them itself.
  HIMAGE again = Load(blue);
  ASSERT_NE(again, nullptr);
  EXPECT_NE(again, blue_image);
  EXPECT_EQ(Decoded(again)->PixelAt(0, 0), 0xFF0000FFu);
}

TEST_F(Images, UndecodableBytesDecodedAheadAreRefusedAsUsual) {
  const std::string garbage(200, '\x5A');
  const std::string png = ReadFixture(L"face_normal.png");
  const std::string truncated = png.substr(0, png.size() / 2);
  EXPECT_FALSE(XImage_DecodeAhead(nullptr, 10));
  EXPECT_FALSE(XImage_DecodeAhead(png.data(), 0));
  EXPECT_FALSE(XImage_DecodeAhead(png.data(), -5));
  ASSERT_TRUE(DecodeAhead(garbage));
  ASSERT_TRUE(DecodeAhead(truncated));
  EXPECT_EQ(Load(garbage), nullptr);
  EXPECT_EQ(Load(truncated), nullptr);
}

// The library started for a scope, for tests that start it more than once.
struct LibrarySession {
  LibrarySession() : started(XInitXCGUI(FALSE) != FALSE) {}
  ~LibrarySession() { XExitXCGUI(); }
  LibrarySession(const LibrarySession&) = delete;
  LibrarySession& operator=(const LibrarySession&) = delete;
  const bool started;
};

// Without the fixture: the queue is filled before the library starts and left untaken at its end.
TEST(ImagesDecodedAhead, QueuedBeforeTheLibraryStartsAndDroppedWhenItEnds) {
  const std::string banner = ReadFixture(L"banner.png");
  const std::string blue = OnePixelBmp(0xFF, 0, 0);
  ASSERT_FALSE(banner.empty());
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(DecodeAhead(banner));
  ASSERT_TRUE(DecodeAhead(blue));
  {
    const LibrarySession session;
    ASSERT_TRUE(session.started);
    HIMAGE image = Load(blue);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(Decoded(image)->PixelAt(0, 0), 0xFF0000FFu);
  }
  // Twenty banners nobody took, some perhaps still decoding: the end waited for the thread and dropped them.
  const LibrarySession session;
  ASSERT_TRUE(session.started);
  HIMAGE image = Load(banner);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(Decoded(image)->width(), 600);
}

}  // namespace
}  // namespace xcgui_test
