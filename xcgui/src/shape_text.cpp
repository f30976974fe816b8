#include "xcgui/src/shape_text.h"

#include "xcgui/src/canvas.h"
#include "xcgui/src/window.h"

namespace xcgui {

void ShapeText::DrawFace(Canvas& canvas, const RECT& rect) {
  if (style().background_color) canvas.FillRect(rect, *style().background_color);
  const std::wstring& shown = shows_title_ && window() ? window()->title() : text();
  canvas.DrawWrapped(shown, rect, Font(), style().color.value_or(0xFF000000),
                     style().text_align.value_or(TextAlign::kLeft));
}

}  // namespace xcgui
