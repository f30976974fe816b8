// A picture shape: one image scaled to the widget's rectangle; transparent to the mouse.
#pragma once

#include "xcgui/src/widget.h"

namespace xcgui {

class Image;

class ShapePic : public Widget {
 public:
  ShapePic() : Widget(WidgetType::kShapePic) {}

  // Shows `image` (null: nothing); the image stays the library's.
  void set_image(const Image* image) { image_ = image; }
  const Image* image() const { return image_; }
  void DrawFace(Canvas& canvas, const RECT& rect) override;

 private:
  const Image* image_ = nullptr;
};

}  // namespace xcgui
