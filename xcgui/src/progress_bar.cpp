#include "xcgui/src/progress_bar.h"

#include <algorithm>

#include "xcgui/src/canvas.h"

namespace xcgui {

void ProgressBar::set_position(int position) { position_ = std::clamp(position, 0, 100); }

void ProgressBar::SetPosition(int position) {
  int before = position_;
  set_position(position);
  if (position_ == before) return;
  Invalidate();
  Raise(XE_PROGRESSBAR_CHANGE, {position_});
}

int ProgressBar::FilledWidth() const {
  if (position_ == 0) return 0;
  return std::max(width() * position_ / 100, std::min(height(), width()));
}

void ProgressBar::DrawFace(Canvas& canvas, const RECT& rect) {
  // Track and fill are bars with round ends: the corner radius is half the height.
  float radius = (rect.bottom - rect.top) / 2.0f;
  if (!DrawBkImages(canvas, rect)) {
    if (!bk_transparent()) canvas.FillRoundRect(rect, radius, style().background_color.value_or(0xFFE6E6E6));
    if (draw_border()) {
      float inset = style().border_width.value_or(1) / 2.0f;
      ShapeRect edge = {rect.left + inset, rect.top + inset, rect.right - inset, rect.bottom - inset};
      canvas.FrameRoundRect(edge, radius - inset, BorderColor(), inset * 2);
    }
  }
  RECT filled = rect;
  filled.right = rect.left + FilledWidth();
  canvas.FillRoundRect(filled, radius, style().bar_color.value_or(0xFF1E88E5));
  if (!text().empty()) {
    canvas.DrawLine(text(), rect, Font(), style().color.value_or(0xFF000000),
                    style().text_align.value_or(TextAlign::kCenter));
  }
}

}  // namespace xcgui
