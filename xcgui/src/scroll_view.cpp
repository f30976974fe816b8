#include "xcgui/src/scroll_view.h"

#include <algorithm>

#include "xcgui/src/canvas.h"

namespace xcgui {
namespace {
constexpr int kWheelStep = 40;  // pixels per wheel notch
constexpr int kBarWidth = 6;
}  // namespace

int ScrollView::ContentHeight() const {
  int bottom = 0;
  for (const auto& child : children()) {
    if (child->visible()) bottom = std::max(bottom, child->y() + child->height());
  }
  return bottom;
}

void ScrollView::ScrollTo(int y) {
  int limit = std::max(0, ContentHeight() - height());
  int clamped = std::clamp(y, 0, limit);
  if (clamped == scroll_y_) return;
  scroll_y_ = clamped;
  Invalidate();
  Raise(XE_SCROLLVIEW_SCROLL_V, {scroll_y_});
}

bool ScrollView::OnWheel(int delta) {
  if (ContentHeight() <= height()) return false;
  ScrollTo(scroll_y_ - delta / WHEEL_DELTA * kWheelStep);
  return true;
}

void ScrollView::DrawFace(Canvas& canvas, const RECT& rect) {
  Element::DrawFace(canvas, rect);
  int content = ContentHeight();
  if (content <= height() || height() <= 0) return;
  int bar = std::max(12, height() * height() / content);
  int top = rect.top + (height() - bar) * scroll_y_ / std::max(1, content - height());
  RECT thumb = {rect.right - kBarWidth - 1, top, rect.right - 1, top + bar};
  canvas.FillRect(thumb, style().bar_color.value_or(0x80808080));
}

}  // namespace xcgui
