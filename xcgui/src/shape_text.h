// A text shape: wrapped text in the widget's font and colour; transparent to the mouse.
#pragma once

#include "xcgui/src/widget.h"

namespace xcgui {

class ShapeText : public Widget {
 public:
  ShapeText() : Widget(WidgetType::kShapeText) {}

  // Shows the window's title instead of its own text (layout role "title").
  void set_shows_title(bool shows) { shows_title_ = shows; }
  void DrawFace(Canvas& canvas, const RECT& rect) override;

 private:
  bool shows_title_ = false;
};

}  // namespace xcgui
