#include "xcgui/src/smooth_shapes.h"

#include <algorithm>
#include <cmath>

namespace xcgui {
namespace {

// Signed distance from (x, y) to the edge of a box centred at the origin with half sides (half_x, half_y)
// and corners rounded to `radius`: negative inside.
float BoxDistance(float x, float y, float half_x, float half_y, float radius) {
  radius = std::clamp(radius, 0.0f, std::min(half_x, half_y));
  float qx = std::fabs(x) - (half_x - radius);
  float qy = std::fabs(y) - (half_y - radius);
  float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
  float inside = std::min(std::max(qx, qy), 0.0f);
  return outside + inside - radius;
}

// Blends `color` over every pixel of `bounds` (held to the clip and the target) by the coverage that the
// signed distance `distance(x, y)` of its centre gives: full one pixel-half inside the edge, none one
// pixel-half outside, in proportion between.
template <typename Distance>
void Cover(const PixelTarget& target, const RECT& clip, const ShapeRect& bounds, Argb color, Distance distance) {
  uint32_t alpha = color >> 24;
  if (!target.bits || alpha == 0) return;
  int left = std::max({static_cast<int>(std::floor(bounds.left)) - 1, static_cast<int>(clip.left), 0});
  int top = std::max({static_cast<int>(std::floor(bounds.top)) - 1, static_cast<int>(clip.top), 0});
  int right = std::min({static_cast<int>(std::ceil(bounds.right)) + 1, static_cast<int>(clip.right), target.width});
  int bottom =
      std::min({static_cast<int>(std::ceil(bounds.bottom)) + 1, static_cast<int>(clip.bottom), target.height});
  for (int y = top; y < bottom; ++y) {
    uint32_t* row = target.bits + static_cast<size_t>(y) * target.width;
    for (int x = left; x < right; ++x) {
      float coverage = std::clamp(0.5f - distance(x + 0.5f, y + 0.5f), 0.0f, 1.0f);
      uint32_t weight = static_cast<uint32_t>(std::lround(coverage * alpha));
      if (weight == 0) continue;
      uint32_t pixel = row[x];
      uint32_t blended = pixel & 0xFF000000;
      for (int shift : {0, 8, 16}) {
        uint32_t source = (color >> shift) & 0xFF;
        uint32_t target_channel = (pixel >> shift) & 0xFF;
        blended |= ((source * weight + target_channel * (255 - weight) + 127) / 255) << shift;
      }
      row[x] = blended;
    }
  }
}

bool IsEmpty(const ShapeRect& rect) { return !(rect.right > rect.left && rect.bottom > rect.top); }

}  // namespace

void FillRoundRect(const PixelTarget& target, const RECT& clip, const ShapeRect& rect, float radius, Argb color) {
  if (IsEmpty(rect)) return;
  float center_x = (rect.left + rect.right) / 2;
  float center_y = (rect.top + rect.bottom) / 2;
  float half_x = (rect.right - rect.left) / 2;
  float half_y = (rect.bottom - rect.top) / 2;
  Cover(target, clip, rect, color, [&](float x, float y) {
    return BoxDistance(x - center_x, y - center_y, half_x, half_y, radius);
  });
}

void StrokeRoundRect(const PixelTarget& target, const RECT& clip, const ShapeRect& rect, float radius, float width,
                     Argb color) {
  if (IsEmpty(rect) || width <= 0) return;
  float center_x = (rect.left + rect.right) / 2;
  float center_y = (rect.top + rect.bottom) / 2;
  float half_x = (rect.right - rect.left) / 2;
  float half_y = (rect.bottom - rect.top) / 2;
  float half_width = width / 2;
  ShapeRect bounds = {rect.left - half_width, rect.top - half_width, rect.right + half_width, rect.bottom + half_width};
  Cover(target, clip, bounds, color, [&](float x, float y) {
    return std::fabs(BoxDistance(x - center_x, y - center_y, half_x, half_y, radius)) - half_width;
  });
}

void StrokeLine(const PixelTarget& target, const RECT& clip, ShapePoint from, ShapePoint to, float width,
                Argb color) {
  if (width <= 0) return;
  float dx = to.x - from.x;
  float dy = to.y - from.y;
  float length = std::hypot(dx, dy);
  // Along and across the line; a line of no length is a square.
  float along_x = length > 0 ? dx / length : 1;
  float along_y = length > 0 ? dy / length : 0;
  float center_x = (from.x + to.x) / 2;
  float center_y = (from.y + to.y) / 2;
  float half_width = width / 2;
  float reach = length / 2 + half_width;
  ShapeRect bounds = {center_x - reach, center_y - reach, center_x + reach, center_y + reach};
  Cover(target, clip, bounds, color, [&](float x, float y) {
    float u = (x - center_x) * along_x + (y - center_y) * along_y;
    float v = (y - center_y) * along_x - (x - center_x) * along_y;
    return BoxDistance(u, v, length / 2, half_width, 0);
  });
}

}  // namespace xcgui
