// Anti-aliased shapes drawn straight into 32-bit pixels: rounded rectangles, filled or as outlines, and
// straight strokes. Each pixel is covered in proportion to how far its centre lies inside the shape's
// edge, which looks the same on every platform (wine's GDI+ draws paths without anti-aliasing).
#pragma once

#include <windows.h>

#include <cstdint>

#include "xcgui/src/style.h"

namespace xcgui {

// Top-down 32-bit pixels, 0x..RRGGBB: the shapes blend into the colour bytes and leave the top byte alone.
struct PixelTarget {
  uint32_t* bits = nullptr;
  int width = 0;
  int height = 0;
};

// Points and rectangles in pixel-edge coordinates: pixel (x, y) spans x..x+1 and y..y+1, so x + 0.5 is
// the middle of pixel column x.
struct ShapePoint {
  float x;
  float y;
};
struct ShapeRect {
  float left;
  float top;
  float right;
  float bottom;
};

// Fills `rect` with its corners rounded to `radius` (held to half the shorter side) in `color`, blended
// over the pixels that lie inside `clip`. Nothing happens for an empty target, rectangle or colour.
void FillRoundRect(const PixelTarget& target, const RECT& clip, const ShapeRect& rect, float radius, Argb color);
// A line `width` pixels wide centred on the outline of the rounded rectangle `rect`.
void StrokeRoundRect(const PixelTarget& target, const RECT& clip, const ShapeRect& rect, float radius,
                     float width, Argb color);
// A straight line `width` pixels wide from `from` to `to`, its ends cut square at those points.
void StrokeLine(const PixelTarget& target, const RECT& clip, ShapePoint from, ShapePoint to, float width,
                Argb color);

}  // namespace xcgui
