#include "runtime/dib_image.h"

#include <objbase.h>

#include <gdiplus.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "runtime/gdiplus_session.h"
#include "runtime/win/com_ptr.h"
#include "runtime/win/scoped_gdiplus.h"
#include "runtime/win/scoped_memory.h"

using namespace Gdiplus::DllExports;

namespace {

// What a GDI+ pixel format becomes in the DIB: its GDI+ format, bits per pixel and alpha flag.
struct TargetFormat {
  int format;
  int bits_per_pixel;
  bool has_alpha;
};

// Formats GDI draws as they are keep their layout; a BI_RGB DIB of 16 bits is always 5-5-5, so 5-6-5
// pixels are converted like the formats GDI cannot draw. Anything with alpha becomes 32-bit ARGB.
TargetFormat TargetFor(int format) {
  TargetFormat target{PixelFormat32bppRGB, 32, false};
  if ((format & PixelFormatGDI) != 0 && format != PixelFormat16bppRGB565) {
    target = {format, (format >> 8) & 0xFF, false};
  }
  if ((format & PixelFormatAlpha) != 0) target = {PixelFormat32bppARGB, 32, true};
  return target;
}

}  // namespace

bool DibImage::Create(int width, int height, int bits_per_pixel, bool has_alpha) {
  Destroy();
  // A header and a full 256-entry colour table, zeroed: indexed DIBs start with an all-black palette.
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
  } info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = height;
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(bits_per_pixel);
  info.header.biCompression = BI_RGB;
  void* bits = nullptr;
  vexo::win::ScopedBitmap bitmap(
      ::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return false;

  DIBSECTION section{};
  if (::GetObjectW(bitmap.get(), sizeof(section), &section) == sizeof(section)) {
    width_ = section.dsBm.bmWidth;
    height_ = std::abs(section.dsBmih.biHeight);
    bits_per_pixel_ = section.dsBm.bmBitsPixel;
    is_dib_section_ = true;
    pitch_ = ((bits_per_pixel_ * width_ + 31) / 32) * 4;
    first_row_ = static_cast<std::uint8_t*>(section.dsBm.bmBits);
    if (height >= 0) {
      first_row_ += static_cast<std::ptrdiff_t>(height_ - 1) * pitch_;
      pitch_ = -pitch_;
    }
  } else {
    BITMAP plain{};
    ::GetObjectW(bitmap.get(), sizeof(plain), &plain);
    width_ = plain.bmWidth;
    height_ = plain.bmHeight;
    bits_per_pixel_ = plain.bmBitsPixel;
  }
  has_alpha_ = has_alpha;
  bitmap_ = std::move(bitmap);
  return true;
}

bool DibImage::LoadFromMemory(GdiplusSession& gdiplus, const void* data, int size) {
  Destroy();
  if (size <= 0 || data == nullptr) return false;
  vexo::win::ScopedGlobalMemory block(::GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(size)));
  if (!block) return false;
  {
    vexo::win::ScopedGlobalLock locked(block.get());
    if (!locked) return false;
    std::memcpy(locked.get(), data, static_cast<std::size_t>(size));
  }
  // The stream does not own the block: the holder above frees it after the stream is gone.
  vexo::win::ComPtr<IStream> stream;
  if (FAILED(::CreateStreamOnHGlobal(block.get(), FALSE, stream.receive()))) return false;
  if (!gdiplus.Start()) return false;
  vexo::win::ScopedGpBitmap decoded;
  if (GdipCreateBitmapFromStream(stream.get(), decoded.receive()) != Gdiplus::Ok) return false;
  return CreateFromGdiplusBitmap(decoded.get());
}

bool DibImage::LoadFromFile(GdiplusSession& gdiplus, const wchar_t* path) {
  Destroy();
  if (path == nullptr || *path == L'\0') return false;
  if (!gdiplus.Start()) return false;
  vexo::win::ScopedGpBitmap decoded;
  if (GdipCreateBitmapFromFile(path, decoded.receive()) != Gdiplus::Ok) return false;
  return CreateFromGdiplusBitmap(decoded.get());
}

bool DibImage::CreateFromGdiplusBitmap(Gdiplus::GpBitmap* source) {
  Destroy();
  if (source == nullptr) return false;
  Gdiplus::PixelFormat format = PixelFormatUndefined;
  UINT width = 0;
  UINT height = 0;
  if (GdipGetImagePixelFormat(source, &format) != Gdiplus::Ok ||
      GdipGetImageWidth(source, &width) != Gdiplus::Ok || GdipGetImageHeight(source, &height) != Gdiplus::Ok) {
    return false;
  }
  const TargetFormat target = TargetFor(format);
  if (!Create(static_cast<int>(width), static_cast<int>(height), target.bits_per_pixel, target.has_alpha)) {
    return false;
  }
  bool copied = first_row_ != nullptr && ((format & PixelFormatIndexed) == 0 || CopyPalette(source));
  copied = copied && (format == target.format ? CopyRows(source, format) : DrawInto(source, target.format));
  if (!copied) {
    Destroy();
    return false;
  }
  if (has_alpha_) Premultiply();
  return true;
}

HBITMAP DibImage::Detach() {
  HBITMAP bitmap = bitmap_.release();
  Destroy();
  return bitmap;
}

void DibImage::Destroy() {
  bitmap_.reset();
  first_row_ = nullptr;
  width_ = 0;
  height_ = 0;
  pitch_ = 0;
  bits_per_pixel_ = 0;
  has_alpha_ = false;
  is_dib_section_ = false;
}

bool DibImage::CopyPalette(Gdiplus::GpBitmap* source) {
  INT size = 0;
  if (GdipGetImagePaletteSize(source, &size) != Gdiplus::Ok ||
      size < static_cast<INT>(offsetof(Gdiplus::ColorPalette, Entries))) {
    return false;
  }
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(size));
  auto* palette = reinterpret_cast<Gdiplus::ColorPalette*>(buffer.data());
  if (GdipGetImagePalette(source, palette, size) != Gdiplus::Ok) return false;
  const std::size_t capacity = (buffer.size() - offsetof(Gdiplus::ColorPalette, Entries)) / sizeof(Gdiplus::ARGB);
  if (palette->Count < 1 || palette->Count > 256 || palette->Count > capacity) return false;

  RGBQUAD colours[256] = {};
  for (UINT i = 0; i < palette->Count; ++i) {
    const Gdiplus::ARGB argb = palette->Entries[i];
    colours[i].rgbBlue = static_cast<BYTE>(argb & 0xFF);
    colours[i].rgbGreen = static_cast<BYTE>((argb >> 8) & 0xFF);
    colours[i].rgbRed = static_cast<BYTE>((argb >> 16) & 0xFF);
  }
  vexo::win::ScopedMemoryDc dc(::CreateCompatibleDC(nullptr));
  if (!dc) return false;
  vexo::win::ScopedSelectObject selected(dc.get(), bitmap_.get());
  return ::SetDIBColorTable(dc.get(), 0, palette->Count, colours) != 0;
}

bool DibImage::CopyRows(Gdiplus::GpBitmap* source, int format) {
  Gdiplus::Rect area(0, 0, width_, height_);
  Gdiplus::BitmapData locked{};
  if (GdipBitmapLockBits(source, &area, Gdiplus::ImageLockModeRead, format, &locked) != Gdiplus::Ok) return false;
  const std::size_t row_bytes = (static_cast<std::size_t>(width_) * bits_per_pixel_ + 7) / 8;
  const auto* from = static_cast<const std::uint8_t*>(locked.Scan0);
  for (int y = 0; y < height_; ++y) {
    std::memcpy(first_row_ + static_cast<std::ptrdiff_t>(y) * pitch_,
                from + static_cast<std::ptrdiff_t>(y) * locked.Stride, row_bytes);
  }
  GdipBitmapUnlockBits(source, &locked);
  return true;
}

bool DibImage::DrawInto(Gdiplus::GpBitmap* source, int format) {
  vexo::win::ScopedGpBitmap canvas;
  if (GdipCreateBitmapFromScan0(width_, height_, pitch_, format, first_row_, canvas.receive()) != Gdiplus::Ok) {
    return false;
  }
  vexo::win::ScopedGpGraphics graphics;
  if (GdipGetImageGraphicsContext(canvas.get(), graphics.receive()) != Gdiplus::Ok) return false;
  GdipSetCompositingMode(graphics.get(), Gdiplus::CompositingModeSourceCopy);
  return GdipDrawImageRectI(graphics.get(), source, 0, 0, width_, height_) == Gdiplus::Ok;
}

void DibImage::Premultiply() {
  for (int y = 0; y < height_; ++y) {
    std::uint8_t* pixel = first_row_ + static_cast<std::ptrdiff_t>(y) * pitch_;
    for (int x = 0; x < width_; ++x, pixel += 4) {
      const int alpha = pixel[3];
      if (alpha == 255) continue;
      for (int channel = 0; channel < 3; ++channel) {
        pixel[channel] = static_cast<std::uint8_t>(::MulDiv(pixel[channel], alpha, 255));
      }
    }
  }
}
