// A progress bar: a position 0..100 drawn as a rounded fill over a rounded track.
#pragma once

#include "xcgui/src/element.h"

namespace xcgui {

class ProgressBar : public Element {
 public:
  ProgressBar() : Element(WidgetType::kProgressBar) { set_draw_border(false); }

  int position() const { return position_; }
  // Clamps to 0..100; on a change repaints later and raises the change event.
  void SetPosition(int position);
  // Sets the position without events (layouts).
  void set_position(int position);
  // The width of the filled part for the current size and position: 0 at position 0, otherwise
  // width × position / 100 but never less than the height, so a small position still shows a round dot.
  int FilledWidth() const;
  void DrawFace(Canvas& canvas, const RECT& rect) override;

 private:
  int position_ = 0;
};

}  // namespace xcgui
