// Drawing into a window's back buffer with GDI+, GDI and smooth shapes, in client coordinates; also the
// drawing-context handle.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>

#include "runtime/win/scoped_handles.h"
#include "xcgui/src/font_cache.h"
#include "xcgui/src/image.h"
#include "xcgui/src/object.h"
#include "xcgui/src/smooth_shapes.h"
#include "xcgui/src/style.h"

namespace xcgui {

class Canvas {
 public:
  // Draws through `graphics`, which was made on `dc` (GDI is used where it is faster), and straight into
  // `pixels`, the bitmap selected into `dc`, for smooth shapes.
  Canvas(HDC dc, Gdiplus::Graphics& graphics, FontCache& fonts, const PixelTarget& pixels)
      : dc_(dc), graphics_(graphics), fonts_(fonts), pixels_(pixels) {}

  // Restricts drawing to `clip` until the next call.
  void SetClip(const RECT& clip);
  // Restricts drawing further, to the part of the current clip inside `rect`.
  void NarrowClip(const RECT& rect);
  void FillRect(const RECT& rect, Argb color);
  // A frame of `width` pixels inside `rect`.
  void FrameRect(const RECT& rect, Argb color, int width);
  // The image scaled to `rect`, with its alpha.
  void DrawImage(const Image& image, const RECT& rect);
  // One line of text, vertically centred in `rect`, aligned as asked, anti-aliased; `offset_x` shifts it
  // (scrolled edits).
  void DrawLine(const std::wstring& text, const RECT& rect, const FontSpec& font, Argb color, TextAlign align,
                float offset_x = 0);
  // Text wrapped into `rect` from its top.
  void DrawWrapped(const std::wstring& text, const RECT& rect, const FontSpec& font, Argb color,
                   TextAlign align);
  // `rect` with corners rounded to `radius` pixels (a bar with round ends when the radius is half the
  // height), filled anti-aliased.
  void FillRoundRect(const RECT& rect, float radius, Argb color);
  // The outline of a rounded rectangle: a line `width` pixels wide centred on the edge of `rect`,
  // anti-aliased (pixel-edge coordinates: x + 0.5 is the middle of pixel column x).
  void FrameRoundRect(const ShapeRect& rect, float radius, Argb color, float width);
  // A straight anti-aliased line between two points (pixel-edge coordinates), its ends cut square there.
  void DrawStroke(ShapePoint from, ShapePoint to, Argb color, float width);

 private:
  // Lets direct pixel writes follow everything GDI+ and GDI have drawn so far.
  void FlushForPixels();

  HDC dc_;
  Gdiplus::Graphics& graphics_;
  FontCache& fonts_;
  PixelTarget pixels_;
  RECT clip_ = {};
  vexo::win::ScopedMemoryDc image_dc_;
};

// A drawing context handed to draw events as a handle; valid only while the event runs.
class DrawContext : public Object {
 public:
  explicit DrawContext(Canvas& canvas) : Object(Kind::kDraw), canvas_(canvas) {}
  Canvas& canvas() { return canvas_; }

 private:
  Canvas& canvas_;
};

}  // namespace xcgui
