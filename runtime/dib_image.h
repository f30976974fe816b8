// A picture decoded by GDI+ into a Windows DIB section: the bitmap target of the module's image loading.
#pragma once

#include <cstdint>

#include "runtime/win/scoped_handles.h"
#include "runtime/win/windows_api.h"

namespace Gdiplus {
class GpBitmap;
}
class GdiplusSession;

// Owns at most one bitmap. Every failed operation leaves the record empty (no bitmap, all fields 0).
class DibImage {
 public:
  DibImage() = default;
  // Deletes the bitmap still held.
  ~DibImage() = default;
  DibImage(const DibImage&) = delete;
  DibImage& operator=(const DibImage&) = delete;

  // Replaces the content with a new zero-filled DIB section of the given size and depth (a positive height
  // makes it bottom-up). False when the section cannot be made.
  bool Create(int width, int height, int bits_per_pixel, bool has_alpha);
  // Decodes an encoded picture (PNG, BMP, JPEG, GIF, ...) from memory, starting GDI+ through `gdiplus` if
  // needed. False for an empty block, undecodable data or any GDI/GDI+ failure.
  bool LoadFromMemory(GdiplusSession& gdiplus, const void* data, int size);
  // Decodes a picture file; as LoadFromMemory. False for a null or empty path or an unreadable file.
  bool LoadFromFile(GdiplusSession& gdiplus, const wchar_t* path);
  // Copies a GDI+ bitmap into a new DIB section: indexed, 16-bit 555, 24-bit and 32-bit pictures keep their
  // depth (and palette), pictures with alpha become premultiplied 32-bit, anything else 32-bit. The
  // caller keeps `source`. False on any failure.
  bool CreateFromGdiplusBitmap(Gdiplus::GpBitmap* source);
  // Hands the bitmap to the caller, who must DeleteObject it; the record becomes empty.
  HBITMAP Detach();
  // Deletes the bitmap (if any) and empties the record.
  void Destroy();

  HBITMAP bitmap() const { return bitmap_.get(); }
  // First byte of the top row of pixels; null when empty or not a DIB section.
  std::uint8_t* first_row() const { return first_row_; }
  int width() const { return width_; }
  int height() const { return height_; }
  // Bytes from one row to the next one down; negative for a bottom-up DIB.
  int pitch() const { return pitch_; }
  int bits_per_pixel() const { return bits_per_pixel_; }
  bool has_alpha() const { return has_alpha_; }
  bool is_dib_section() const { return is_dib_section_; }

 private:
  bool CopyPalette(Gdiplus::GpBitmap* source);
  bool CopyRows(Gdiplus::GpBitmap* source, int format);
  bool DrawInto(Gdiplus::GpBitmap* source, int format);
  void Premultiply();

  vexo::win::ScopedBitmap bitmap_;
  std::uint8_t* first_row_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int pitch_ = 0;
  int bits_per_pixel_ = 0;
  bool has_alpha_ = false;
  bool is_dib_section_ = false;
};
