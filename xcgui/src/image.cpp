#include "xcgui/src/image.h"

#include <shlwapi.h>

#include <cstring>

#include "runtime/win/com_ptr.h"

namespace xcgui {

Image::~Image() { bitmap_.reset(); }

std::unique_ptr<Image> Image::Decode(const void* data, size_t size) {
  if (!data || size == 0 || size > 0x7FFFFFFF) return nullptr;
  vexo::win::ComPtr<IStream> stream(
      SHCreateMemStream(static_cast<const BYTE*>(data), static_cast<UINT>(size)));
  if (!stream) return nullptr;
  std::unique_ptr<Gdiplus::Bitmap> decoded(Gdiplus::Bitmap::FromStream(stream.get()));
  if (!decoded || decoded->GetLastStatus() != Gdiplus::Ok) return nullptr;
  int width = static_cast<int>(decoded->GetWidth());
  int height = static_cast<int>(decoded->GetHeight());
  if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide) return nullptr;

  std::unique_ptr<Image> image(new Image());
  image->width_ = width;
  image->height_ = height;
  image->pixels_.resize(static_cast<size_t>(width) * height);
  // Converted once here, so drawing never converts again; the decoder and its stream go away now.
  Gdiplus::BitmapData locked = {};
  Gdiplus::Rect all(0, 0, width, height);
  if (decoded->LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &locked) != Gdiplus::Ok) {
    return nullptr;
  }
  for (int y = 0; y < height; ++y) {
    std::memcpy(&image->pixels_[static_cast<size_t>(y) * width],
                static_cast<const uint8_t*>(locked.Scan0) + static_cast<ptrdiff_t>(y) * locked.Stride,
                static_cast<size_t>(width) * 4);
  }
  decoded->UnlockBits(&locked);
  image->bitmap_ = std::make_unique<Gdiplus::Bitmap>(width, height, width * 4, PixelFormat32bppPARGB,
                                                     reinterpret_cast<BYTE*>(image->pixels_.data()));
  if (image->bitmap_->GetLastStatus() != Gdiplus::Ok) return nullptr;
  return image;
}

}  // namespace xcgui
