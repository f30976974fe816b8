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

int ProgressBar::FilledWidth() const { return width() * position_ / 100; }

void ProgressBar::DrawFace(Canvas& canvas, const RECT& rect) {
  if (!DrawBkImages(canvas, rect)) DrawBox(canvas, rect, 0xFFE6E6E6);
  RECT filled = rect;
  filled.right = rect.left + FilledWidth();
  canvas.FillRect(filled, style().bar_color.value_or(0xFF1E88E5));
  if (!text().empty()) {
    canvas.DrawLine(text(), rect, Font(), style().color.value_or(0xFF000000),
                    style().text_align.value_or(TextAlign::kCenter));
  }
}

}  // namespace xcgui
