// Install.exe as built embeds the UI archive as raw data 500 and the nine skin pictures as raw data 501-509:
// the files the build made, byte for byte, PNG with alpha at the sizes the window is laid out for; the
// banners dark over the band and white below, the button faces rounded and lighter or darker by state.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "resources/resource_ids.h"
#include "runtime/dib_image.h"
#include "runtime/gdiplus_session.h"
#include "runtime/win/scoped_handles.h"
#include "xcgui/xcgui.h"

namespace {

constexpr int kBandHeight = 255;

std::string FileBytes(const std::wstring& path) {
  vexo::win::ScopedHandle file(
      ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  std::string bytes;
  if (!file) return bytes;
  char chunk[65536];
  DWORD got = 0;
  while (::ReadFile(file.get(), chunk, sizeof(chunk), &got, nullptr) && got > 0) bytes.append(chunk, got);
  return bytes;
}

GdiplusSession& Gdiplus() {
  static GdiplusSession session;
  return session;
}

// A pixel of a decoded 32-bit picture with alpha: its premultiplied channels.
struct Pixel {
  int r, g, b, a;
  int Luma() const { return (r * 299 + g * 587 + b * 114) / 1000; }
};

Pixel PixelAt(const DibImage& image, int x, int y) {
  const std::uint8_t* p = image.first_row() + static_cast<std::ptrdiff_t>(y) * image.pitch() + x * 4;
  return {p[2], p[1], p[0], p[3]};
}

class InstallSkinResources : public testing::Test {
 protected:
  void SetUp() override {
    module_.reset(::LoadLibraryExW(VEXO_INSTALL_EXE, nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    ASSERT_TRUE(module_);
  }
  std::string RawData(int id) {
    HRSRC found = ::FindResourceW(module_.get(), MAKEINTRESOURCEW(id), RT_RCDATA);
    if (!found) return "";
    const void* data = ::LockResource(::LoadResource(module_.get(), found));
    return data ? std::string(static_cast<const char*>(data), ::SizeofResource(module_.get(), found)) : "";
  }
  // Picture `id` decoded; fails the test when it is missing or not a 32-bit picture with alpha.
  void Decode(int id, DibImage* picture) {
    const std::string bytes = RawData(id);
    ASSERT_TRUE(picture->LoadFromMemory(Gdiplus(), bytes.data(), static_cast<int>(bytes.size()))) << id;
    ASSERT_TRUE(picture->has_alpha()) << id;
    ASSERT_EQ(picture->bits_per_pixel(), 32) << id;
  }

  vexo::win::ScopedLibrary module_;
};

TEST_F(InstallSkinResources, EmbedsTheBuiltUiArchive) {
  const std::string archive = RawData(IDR_UI_ARCHIVE);
  ASSERT_GE(archive.size(), 4u);
  EXPECT_EQ(archive.substr(0, 4), std::string("PK\x03\x04", 4));
  EXPECT_TRUE(archive == FileBytes(VEXO_UI_ARCHIVE)) << "differs from the archive the build made";
}

TEST_F(InstallSkinResources, EmbedsTheNinePicturesAtTheirSizes) {
  const struct {
    int id;
    const wchar_t* file;
    int width;
    int height;
  } pictures[] = {
      {IDR_BANNER, L"banner.png", 600, 420},
      {IDR_BANNER_DONE, L"banner_done.png", 600, 420},
      {IDR_INSTALL_NORMAL, L"install_normal.png", 200, 40},
      {IDR_INSTALL_HOVER, L"install_hover.png", 200, 40},
      {IDR_INSTALL_PRESSED, L"install_pressed.png", 200, 40},
      {IDR_BROWSE, L"browse.png", 40, 25},
      {IDR_LAUNCH_NORMAL, L"launch_normal.png", 200, 40},
      {IDR_LAUNCH_HOVER, L"launch_hover.png", 200, 40},
      {IDR_LAUNCH_PRESSED, L"launch_pressed.png", 200, 40},
  };
  static_assert(sizeof(pictures) / sizeof(pictures[0]) == SKIN_PICTURE_COUNT);
  ASSERT_TRUE(XInitXCGUI(FALSE));
  for (const auto& item : pictures) {
    SCOPED_TRACE(testing::Message() << "resource " << item.id);
    const std::string bytes = RawData(item.id);
    ASSERT_GE(bytes.size(), 8u);
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_TRUE(bytes == FileBytes(std::wstring(VEXO_SKIN_DIR) + item.file)) << "differs from the built file";
    EXPECT_NE(XImage_LoadMemory(bytes.data(), static_cast<int>(bytes.size())), nullptr) << "UI library";
    DibImage picture;
    ASSERT_NO_FATAL_FAILURE(Decode(item.id, &picture));
    EXPECT_EQ(picture.width(), item.width);
    EXPECT_EQ(picture.height(), item.height);
  }
  XExitXCGUI();
}

TEST_F(InstallSkinResources, BannersAreDarkOverTheBandAndWhiteBelow) {
  for (int id : {IDR_BANNER, IDR_BANNER_DONE}) {
    SCOPED_TRACE(testing::Message() << "resource " << id);
    DibImage banner;
    ASSERT_NO_FATAL_FAILURE(Decode(id, &banner));
    ASSERT_EQ(banner.height(), 420);
    long long band_luma = 0;
    for (int y = 0; y < banner.height(); ++y) {
      for (int x = 0; x < banner.width(); ++x) {
        const Pixel pixel = PixelAt(banner, x, y);
        ASSERT_EQ(pixel.a, 255) << "at " << x << "," << y;
        if (y >= kBandHeight) {
          ASSERT_EQ(pixel.Luma(), 255) << "not white at " << x << "," << y;
        } else {
          band_luma += pixel.Luma();
        }
      }
    }
    EXPECT_LT(band_luma / (banner.width() * kBandHeight), 90) << "the band is not dark";
    for (int x = 0; x < banner.width(); ++x) EXPECT_LT(PixelAt(banner, x, kBandHeight - 1).Luma(), 200) << x;
  }
}

TEST_F(InstallSkinResources, ButtonFacesAreRoundedAndFollowTheirState) {
  for (int normal_id : {IDR_INSTALL_NORMAL, IDR_LAUNCH_NORMAL}) {
    SCOPED_TRACE(testing::Message() << "faces from resource " << normal_id);
    DibImage faces[3];
    for (int state = 0; state < 3; ++state) ASSERT_NO_FATAL_FAILURE(Decode(normal_id + state, &faces[state]));
    for (const DibImage& face : faces) {
      const int right = face.width() - 1;
      const int bottom = face.height() - 1;
      for (auto [x, y] : {std::pair{0, 0}, {right, 0}, {0, bottom}, {right, bottom}}) {
        EXPECT_EQ(PixelAt(face, x, y).a, 0) << "corner " << x << "," << y;
      }
      EXPECT_EQ(PixelAt(face, face.width() / 2, 2).a, 255);
      EXPECT_EQ(PixelAt(face, 20, face.height() / 2).a, 255);
    }
    // Away from the words, the hover face is lighter and the pressed face darker than the normal one.
    const int x = 24;
    const int y = faces[0].height() / 2;
    EXPECT_GT(PixelAt(faces[1], x, y).Luma(), PixelAt(faces[0], x, y).Luma() + 8);
    EXPECT_LT(PixelAt(faces[2], x, y).Luma(), PixelAt(faces[0], x, y).Luma() - 8);
  }
  DibImage browse;
  ASSERT_NO_FATAL_FAILURE(Decode(IDR_BROWSE, &browse));
  EXPECT_LT(PixelAt(browse, 0, 0).a, 64) << "rounded corner";
  EXPECT_EQ(PixelAt(browse, browse.width() / 2, browse.height() / 2).a, 255);
}

}  // namespace
