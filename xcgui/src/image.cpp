#include "xcgui/src/image.h"

#include <shlwapi.h>

#include <algorithm>

#include "runtime/win/com_ptr.h"

namespace xcgui {
namespace {

constexpr uint32_t kHalfOpaque = 0x80;

}  // namespace

Image::~Image() { bitmap_.reset(); }

std::unique_ptr<Image> Image::Decode(IWICImagingFactory* factory, const void* data, size_t size) {
  std::unique_ptr<Image> image = DecodePixels(factory, data, size);
  if (!image || !image->WrapForGdiplus()) return nullptr;
  return image;
}

std::unique_ptr<Image> Image::DecodePixels(IWICImagingFactory* factory, const void* data, size_t size) {
  if (!factory || !data || size == 0 || size > 0x7FFFFFFF) return nullptr;
  vexo::win::ComPtr<IStream> stream(
      SHCreateMemStream(static_cast<const BYTE*>(data), static_cast<UINT>(size)));
  vexo::win::ComPtr<IWICBitmapDecoder> decoder;
  vexo::win::ComPtr<IWICBitmapFrameDecode> frame;
  vexo::win::ComPtr<IWICFormatConverter> converter;
  if (!stream ||
      FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                              decoder.receive())) ||
      FAILED(decoder->GetFrame(0, frame.receive())) || FAILED(factory->CreateFormatConverter(converter.receive())) ||
      FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom))) {
    return nullptr;
  }
  UINT width = 0;
  UINT height = 0;
  if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 || width > kMaxImageSide ||
      height > kMaxImageSide) {
    return nullptr;
  }

  std::unique_ptr<Image> image(new Image());
  image->width_ = static_cast<int>(width);
  image->height_ = static_cast<int>(height);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = image->width_;
  info.bmiHeader.biHeight = -image->height_;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  image->dib_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!image->dib_ || !bits) return nullptr;
  image->pixels_ = static_cast<uint32_t*>(bits);
  UINT stride = width * 4;
  if (FAILED(converter->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits)))) return nullptr;
  for (size_t i = 0, n = static_cast<size_t>(width) * height; i < n && image->opaque_; ++i) {
    image->opaque_ = (image->pixels_[i] >> 24) == 0xFF;
  }
  image->MeasureFace();
  return image;
}

bool Image::WrapForGdiplus() {
  bitmap_ = std::make_unique<Gdiplus::Bitmap>(width_, height_, width_ * 4, PixelFormat32bppPARGB,
                                              reinterpret_cast<BYTE*>(pixels_));
  if (bitmap_->GetLastStatus() == Gdiplus::Ok) return true;
  bitmap_.reset();
  return false;
}

void Image::MeasureFace() {
  RECT box = {width_, height_, 0, 0};
  uint64_t luma_sum = 0;
  uint64_t counted = 0;
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      uint32_t pixel = PixelAt(x, y);
      uint32_t alpha = pixel >> 24;
      if (alpha < kHalfOpaque) continue;
      box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
             std::max<LONG>(box.bottom, y + 1)};
      // Premultiplied channels: dividing by alpha gives the colour's own lightness, 0..255.
      uint32_t weighted = ((pixel >> 16) & 0xFF) * 299 + ((pixel >> 8) & 0xFF) * 587 + (pixel & 0xFF) * 114;
      luma_sum += weighted * 255 / (alpha * 1000);
      ++counted;
    }
  }
  if (counted == 0) return;
  face_.bounds = box;
  face_.dark = luma_sum / counted < 140;
  // A corner rounded with radius r leaves the diagonal from the box's corner transparent for
  // r * (1 - 1/sqrt(2)) pixels.
  int side = std::min(box.right - box.left, box.bottom - box.top);
  int longest = 0;
  for (int corner = 0; corner < 4; ++corner) {
    int step_x = corner % 2 == 0 ? 1 : -1;
    int step_y = corner < 2 ? 1 : -1;
    int x0 = step_x > 0 ? box.left : box.right - 1;
    int y0 = step_y > 0 ? box.top : box.bottom - 1;
    int empty = 0;
    while (empty < side / 2 && (PixelAt(x0 + empty * step_x, y0 + empty * step_y) >> 24) < kHalfOpaque) ++empty;
    longest = std::max(longest, empty);
  }
  face_.corner_radius = std::min(longest / (1.0f - 0.70710678f), side / 2.0f);
}

}  // namespace xcgui
