// Decoding pictures into DIB sections: geometry, kept or converted depth, palettes, premultiplied alpha,
// ownership of the bitmap and the empty record after every failure.
#include "runtime/dib_image.h"

#include <windows.h>

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/gdiplus_session.h"
#include "runtime/win/scoped_gdiplus.h"
#include "tests/runtime/picture_fixtures.h"

namespace {

using namespace Gdiplus::DllExports;
using vexo::test::Rgb;

GdiplusSession& Gdiplus() {
  static GdiplusSession session;
  return session;
}

// The colour GDI itself reports for a pixel of the bitmap: an orientation check independent of the
// record's first-row pointer and pitch.
Rgb PixelThroughGdi(HBITMAP bitmap, int x, int y) {
  vexo::win::ScopedMemoryDc dc(::CreateCompatibleDC(nullptr));
  vexo::win::ScopedSelectObject selected(dc.get(), bitmap);
  const COLORREF colour = ::GetPixel(dc.get(), x, y);
  return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

std::vector<RGBQUAD> ColourTable(HBITMAP bitmap) {
  vexo::win::ScopedMemoryDc dc(::CreateCompatibleDC(nullptr));
  vexo::win::ScopedSelectObject selected(dc.get(), bitmap);
  std::vector<RGBQUAD> table(256);
  table.resize(::GetDIBColorTable(dc.get(), 0, 256, table.data()));
  return table;
}

const std::uint8_t* PixelBytes(const DibImage& image, int x, int y) {
  return image.first_row() + static_cast<std::ptrdiff_t>(y) * image.pitch() + x * image.bits_per_pixel() / 8;
}

int PaletteIndexAt(const DibImage& image, int x, int y) {
  const int bits = image.bits_per_pixel();
  const std::uint8_t byte = image.first_row()[static_cast<std::ptrdiff_t>(y) * image.pitch() + x * bits / 8];
  const int shift = 8 - bits - (x * bits) % 8;
  return (byte >> shift) & ((1 << bits) - 1);
}

bool IsEmpty(const DibImage& image) {
  return image.bitmap() == nullptr && image.first_row() == nullptr && image.width() == 0 && image.height() == 0 &&
         image.pitch() == 0 && image.bits_per_pixel() == 0 && !image.has_alpha() && !image.is_dib_section();
}

bool BitmapExists(HBITMAP bitmap) {
  BITMAP info{};
  return ::GetObjectW(bitmap, sizeof(info), &info) != 0;
}

struct GeometryCase {
  int width;
  int height;
  int bits_per_pixel;
  int row_bytes;
};

TEST(DibImageCreate, BottomUpSectionStartsAtItsLastStoredRow) {
  const GeometryCase cases[] = {
      {13, 5, 1, 4}, {13, 5, 4, 8}, {13, 5, 8, 16}, {13, 5, 24, 40}, {13, 5, 32, 52}, {1, 1, 24, 4}, {33, 2, 1, 8},
  };
  for (const GeometryCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << "x" << c.bits_per_pixel);
    DibImage image;
    ASSERT_TRUE(image.Create(c.width, c.height, c.bits_per_pixel, false));
    DIBSECTION section{};
    ASSERT_EQ(::GetObjectW(image.bitmap(), sizeof(section), &section), static_cast<int>(sizeof(section)));
    EXPECT_TRUE(image.is_dib_section());
    EXPECT_EQ(image.width(), c.width);
    EXPECT_EQ(image.height(), c.height);
    EXPECT_EQ(image.bits_per_pixel(), c.bits_per_pixel);
    EXPECT_EQ(image.pitch(), -c.row_bytes);
    EXPECT_EQ(image.first_row(), static_cast<std::uint8_t*>(section.dsBm.bmBits) + (c.height - 1) * c.row_bytes);
    EXPECT_FALSE(image.has_alpha());
  }
}

TEST(DibImageCreate, NegativeHeightGivesTopDownSection) {
  DibImage image;
  ASSERT_TRUE(image.Create(13, -5, 32, true));
  DIBSECTION section{};
  ASSERT_NE(::GetObjectW(image.bitmap(), sizeof(section), &section), 0);
  EXPECT_EQ(image.height(), 5);
  EXPECT_EQ(image.pitch(), 52);
  EXPECT_EQ(image.first_row(), section.dsBm.bmBits);
  EXPECT_TRUE(image.has_alpha());
}

TEST(DibImageCreate, ImpossibleSectionEmptiesTheRecord) {
  const GeometryCase impossible[] = {{0, 5, 32, 0}, {13, 0, 32, 0}, {13, 5, 7, 0}, {-4, 5, 24, 0}};
  for (const GeometryCase& c : impossible) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << "x" << c.bits_per_pixel);
    DibImage image;
    ASSERT_TRUE(image.Create(4, 4, 24, false));
    const HBITMAP previous = image.bitmap();
    EXPECT_FALSE(image.Create(c.width, c.height, c.bits_per_pixel, true));
    EXPECT_TRUE(IsEmpty(image));
    EXPECT_FALSE(BitmapExists(previous));
  }
}

class DibImageDecode : public testing::Test {
 protected:
  static std::vector<std::uint8_t> Fixture(const char* name) {
    std::ifstream in(std::string(VEXO_FIXTURE_DIR) + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static bool Decode(DibImage& image, const char* name) {
    const std::vector<std::uint8_t> bytes = Fixture(name);
    EXPECT_FALSE(bytes.empty()) << name;
    return image.LoadFromMemory(Gdiplus(), bytes.data(), static_cast<int>(bytes.size()));
  }
};

TEST_F(DibImageDecode, IndexedPicturesKeepTheirDepthAndPalette) {
  const std::pair<const char*, int> pictures[] = {{"indexed1.png", 1}, {"indexed4.png", 4}, {"indexed8.png", 8}};
  for (const auto& [name, bits] : pictures) {
    SCOPED_TRACE(name);
    DibImage image;
    ASSERT_TRUE(Decode(image, name));
    EXPECT_EQ(image.bits_per_pixel(), bits);
    EXPECT_FALSE(image.has_alpha());
    EXPECT_EQ(image.width(), vexo::test::kPictureWidth);
    EXPECT_EQ(image.height(), vexo::test::kPictureHeight);
    EXPECT_LT(image.pitch(), 0);

    const int colours = 1 << bits;
    const std::vector<RGBQUAD> table = ColourTable(image.bitmap());
    ASSERT_EQ(table.size(), static_cast<std::size_t>(colours));
    for (int i = 0; i < colours; ++i) {
      const Rgb expected = vexo::test::PaletteColour(i);
      EXPECT_EQ(Rgb({table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue}), expected) << "entry " << i;
    }
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const int index = vexo::test::PaletteIndex(x, y, colours);
        ASSERT_EQ(PaletteIndexAt(image, x, y), index) << x << "," << y;
        ASSERT_EQ(PixelThroughGdi(image.bitmap(), x, y), vexo::test::PaletteColour(index)) << x << "," << y;
      }
    }
  }
}

TEST_F(DibImageDecode, TrueColourPictureIsCopiedRowByRow) {
  DibImage image;
  ASSERT_TRUE(Decode(image, "rgb24.png"));
  EXPECT_EQ(image.bits_per_pixel(), 24);
  EXPECT_FALSE(image.has_alpha());
  EXPECT_EQ(image.pitch(), -40);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const Rgb expected = vexo::test::TrueColour(x, y);
      const std::uint8_t* bgr = PixelBytes(image, x, y);
      ASSERT_EQ(Rgb({bgr[2], bgr[1], bgr[0]}), expected) << x << "," << y;
      ASSERT_EQ(PixelThroughGdi(image.bitmap(), x, y), expected) << x << "," << y;
    }
  }
}

TEST_F(DibImageDecode, AlphaPictureIsPremultipliedAndOpaquePixelsKeepTheirColour) {
  DibImage image;
  ASSERT_TRUE(Decode(image, "rgba32.png"));
  EXPECT_EQ(image.bits_per_pixel(), 32);
  EXPECT_TRUE(image.has_alpha());
  EXPECT_LT(image.pitch(), 0);
  auto premultiplied = [](int channel, int alpha) {
    return static_cast<std::uint8_t>(std::lround(channel * alpha / 255.0));
  };
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const Rgb colour = vexo::test::TrueColour(x, y);
      const int alpha = vexo::test::Alpha(x, y);
      const std::uint8_t* bgra = PixelBytes(image, x, y);
      ASSERT_EQ(bgra[3], alpha) << x << "," << y;
      const Rgb expected{premultiplied(colour.r, alpha), premultiplied(colour.g, alpha),
                         premultiplied(colour.b, alpha)};
      ASSERT_EQ(Rgb({bgra[2], bgra[1], bgra[0]}), expected) << x << "," << y << " alpha " << alpha;
    }
  }
}

TEST_F(DibImageDecode, SixteenBitsPerChannelPictureBecomes32Bit) {
  DibImage image;
  ASSERT_TRUE(Decode(image, "rgb48.png"));
  EXPECT_EQ(image.bits_per_pixel(), 32);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const std::uint8_t* bgr = PixelBytes(image, x, y);
      ASSERT_EQ(Rgb({bgr[2], bgr[1], bgr[0]}), vexo::test::WideColourIn8Bits(x, y)) << x << "," << y;
    }
  }
}

TEST_F(DibImageDecode, FileAndMemoryGiveTheSamePixels) {
  DibImage from_memory;
  DibImage from_file;
  ASSERT_TRUE(Decode(from_memory, "rgb24.png"));
  const std::string path = std::string(VEXO_FIXTURE_DIR) + "rgb24.png";
  ASSERT_TRUE(from_file.LoadFromFile(Gdiplus(), std::wstring(path.begin(), path.end()).c_str()));
  ASSERT_EQ(from_file.bits_per_pixel(), from_memory.bits_per_pixel());
  ASSERT_EQ(from_file.pitch(), from_memory.pitch());
  for (int y = 0; y < from_file.height(); ++y) {
    EXPECT_EQ(0, std::memcmp(PixelBytes(from_file, 0, y), PixelBytes(from_memory, 0, y), from_file.width() * 3));
  }
}

TEST_F(DibImageDecode, BadInputLeavesTheRecordEmpty) {
  const std::vector<std::uint8_t> junk = Fixture("not_a_picture.bin");
  const std::vector<std::uint8_t> good = Fixture("rgb24.png");
  struct Case {
    const char* what;
    const void* data;
    int size;
  };
  const Case cases[] = {
      {"null data", nullptr, 100},
      {"zero size", good.data(), 0},
      {"negative size", good.data(), -1},
      {"not a picture", junk.data(), static_cast<int>(junk.size())},
      {"truncated picture", good.data(), 40},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DibImage image;
    ASSERT_TRUE(image.LoadFromMemory(Gdiplus(), good.data(), static_cast<int>(good.size())));
    const HBITMAP previous = image.bitmap();
    EXPECT_FALSE(image.LoadFromMemory(Gdiplus(), c.data, c.size));
    EXPECT_TRUE(IsEmpty(image));
    EXPECT_FALSE(BitmapExists(previous));
  }
  const std::wstring missing = L"C:\\no such folder\\picture.png";
  for (const wchar_t* path : {static_cast<const wchar_t*>(nullptr), L"", missing.c_str()}) {
    DibImage image;
    EXPECT_FALSE(image.LoadFromFile(Gdiplus(), path));
    EXPECT_TRUE(IsEmpty(image));
  }
}

// GDI+ bitmaps of formats no PNG decodes to under every GDI+, built pixel by pixel.
struct ConvertedFormat {
  const char* name;
  Gdiplus::PixelFormat format;
  int expected_bits;
  bool expected_alpha;
};

TEST(DibImageConvert, FormatsGdiCannotDrawBecome32BitThroughGdiplus) {
  ASSERT_TRUE(Gdiplus().Start());
  const ConvertedFormat formats[] = {
      {"48bppRGB", PixelFormat48bppRGB, 32, false},
      {"16bppRGB565", PixelFormat16bppRGB565, 32, false},
      {"64bppARGB", PixelFormat64bppARGB, 32, true},
      {"32bppPARGB", PixelFormat32bppPARGB, 32, true},
      {"16bppRGB555", PixelFormat16bppRGB555, 16, false},
  };
  // Pure colours survive every depth exactly.
  const Gdiplus::ARGB colours[] = {0xFF000000, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFFFF00FF};
  constexpr int kWidth = 6;
  constexpr int kHeight = 3;
  for (const ConvertedFormat& f : formats) {
    SCOPED_TRACE(f.name);
    vexo::win::ScopedGpBitmap source;
    ASSERT_EQ(GdipCreateBitmapFromScan0(kWidth, kHeight, 0, f.format, nullptr, source.receive()), Gdiplus::Ok);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        ASSERT_EQ(GdipBitmapSetPixel(source.get(), x, y, colours[(x + y) % 6]), Gdiplus::Ok);
      }
    }
    DibImage image;
    ASSERT_TRUE(image.CreateFromGdiplusBitmap(source.get()));
    EXPECT_EQ(image.bits_per_pixel(), f.expected_bits);
    EXPECT_EQ(image.has_alpha(), f.expected_alpha);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const Gdiplus::ARGB argb = colours[(x + y) % 6];
        const Rgb expected{static_cast<std::uint8_t>(argb >> 16), static_cast<std::uint8_t>(argb >> 8),
                           static_cast<std::uint8_t>(argb)};
        ASSERT_EQ(PixelThroughGdi(image.bitmap(), x, y), expected) << x << "," << y;
      }
    }
  }
}

TEST(DibImageConvert, NullBitmapFails) {
  DibImage image;
  EXPECT_FALSE(image.CreateFromGdiplusBitmap(nullptr));
  EXPECT_TRUE(IsEmpty(image));
}

TEST(DibImageOwnership, DetachHandsTheBitmapOverAndDestroyDeletesIt) {
  DibImage image;
  ASSERT_TRUE(image.Create(8, 8, 32, true));
  const HBITMAP detached = image.Detach();
  EXPECT_TRUE(IsEmpty(image));
  EXPECT_TRUE(BitmapExists(detached));
  image.Destroy();
  EXPECT_TRUE(BitmapExists(detached));
  ::DeleteObject(detached);

  ASSERT_TRUE(image.Create(8, 8, 32, true));
  const HBITMAP held = image.bitmap();
  image.Destroy();
  EXPECT_TRUE(IsEmpty(image));
  EXPECT_FALSE(BitmapExists(held));

  HBITMAP left_in_record = nullptr;
  {
    DibImage scoped;
    ASSERT_TRUE(scoped.Create(8, 8, 24, false));
    left_in_record = scoped.bitmap();
  }
  EXPECT_FALSE(BitmapExists(left_in_record));
}

}  // namespace
