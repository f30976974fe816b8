// A decoded image kept as premultiplied 32-bit pixels, ready for drawing.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "xcgui/src/object.h"

namespace xcgui {

// Larger images are refused.
constexpr int kMaxImageSide = 8192;

class Image : public Object {
 public:
  // Decodes PNG, JPEG, BMP, GIF or ICO bytes; null for anything else, or for an image larger than
  // kMaxImageSide on a side. The caller owns the result.
  static std::unique_ptr<Image> Decode(const void* data, size_t size);
  ~Image() override;

  int width() const { return width_; }
  int height() const { return height_; }
  // The pixels as a GDI+ bitmap; owned by the image.
  Gdiplus::Bitmap* bitmap() const { return bitmap_.get(); }
  // The pixel at (x, y) as 0xAARRGGBB, premultiplied; for tests of decoding.
  uint32_t PixelAt(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }

 private:
  Image() : Object(Kind::kImage) {}

  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
  std::unique_ptr<Gdiplus::Bitmap> bitmap_;
};

}  // namespace xcgui
