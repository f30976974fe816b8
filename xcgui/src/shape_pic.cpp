#include "xcgui/src/shape_pic.h"

#include "xcgui/src/canvas.h"

namespace xcgui {

void ShapePic::DrawFace(Canvas& canvas, const RECT& rect) {
  if (image_) canvas.DrawImage(*image_, rect);
}

}  // namespace xcgui
