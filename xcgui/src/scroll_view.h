// A scroll view: a container whose content scrolls vertically with the mouse wheel.
#pragma once

#include "xcgui/src/element.h"

namespace xcgui {

class ScrollView : public Element {
 public:
  ScrollView() : Element(WidgetType::kScrollView) {}

  POINT ScrollOffset() const override { return {0, scroll_y_}; }
  // The height of the content: the lowest bottom edge among the children.
  int ContentHeight() const;
  // Scrolls to `y`, clamped to the content; raises the scroll event on a change.
  void ScrollTo(int y);
  bool OnWheel(int delta) override;
  void DrawFace(Canvas& canvas, const RECT& rect) override;

 private:
  int scroll_y_ = 0;
};

}  // namespace xcgui
