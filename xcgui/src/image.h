// A decoded image kept as premultiplied 32-bit pixels in a DIB section, drawable by GDI and GDI+.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <wincodec.h>

#include <cstdint>
#include <memory>

#include "runtime/win/scoped_handles.h"
#include "xcgui/src/object.h"

namespace xcgui {

// Larger images are refused.
constexpr int kMaxImageSide = 8192;

// Where an image's visible face lies and how it looks, for drawing on top of it (focus rings).
struct FaceShape {
  RECT bounds = {};           // the box of the pixels that are at least half opaque; empty when none are
  float corner_radius = 0;    // the largest of the four corners' roundness, in image pixels
  bool dark = false;          // the visible pixels are dark on average
};

class Image : public Object {
 public:
  // Decodes PNG, JPEG, BMP, GIF, TIFF or ICO bytes with the imaging factory; null for anything else, or
  // for an image larger than kMaxImageSide on a side. The caller owns the result.
  static std::unique_ptr<Image> Decode(IWICImagingFactory* factory, const void* data, size_t size);
  // Decode's work without GDI+: the pixels, their opacity and face. Runs on any thread that has COM and
  // `factory` of its own, also before GDI+ starts; WrapForGdiplus must follow before the image is drawn.
  static std::unique_ptr<Image> DecodePixels(IWICImagingFactory* factory, const void* data, size_t size);
  // Gives an image from DecodePixels its GDI+ bitmap (GDI+ started, on the UI thread); false when GDI+
  // refuses it.
  bool WrapForGdiplus();
  ~Image() override;

  int width() const { return width_; }
  int height() const { return height_; }
  // True when no pixel is transparent at all.
  bool opaque() const { return opaque_; }
  // The pixels as a GDI+ bitmap; owned by the image.
  Gdiplus::Bitmap* bitmap() const { return bitmap_.get(); }
  // The pixels as a DIB section (top-down); owned by the image.
  HBITMAP dib() const { return dib_.get(); }
  // The pixel at (x, y) as 0xAARRGGBB, premultiplied.
  uint32_t PixelAt(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  // The visible face: its box, corner roundness and lightness.
  const FaceShape& face() const { return face_; }

 private:
  Image() : Object(Kind::kImage) {}
  // Finds the face's box, corners and lightness from the pixels.
  void MeasureFace();

  int width_ = 0;
  int height_ = 0;
  bool opaque_ = true;
  FaceShape face_;
  vexo::win::ScopedBitmap dib_;
  uint32_t* pixels_ = nullptr;  // the DIB section's memory
  std::unique_ptr<Gdiplus::Bitmap> bitmap_;
};

}  // namespace xcgui
