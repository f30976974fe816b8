#include "xcgui/src/element.h"

#include <vector>

#include "xcgui/src/canvas.h"
#include "xcgui/src/context.h"
#include "xcgui/src/window.h"

namespace xcgui {

bool Element::Raise(int id, std::initializer_list<vint> values) {
  Context* context = Context::Current();
  if (!context || !alive() || !handle()) return false;
  return events_.Raise(*context, *this, id, values.begin(), static_cast<int>(values.size()), false);
}

int Element::StateFlags() const {
  int flags = enabled_ ? element_state_flag_enable : element_state_flag_disable;
  Window* w = window();
  bool focused = w && w->focus() == this;
  flags |= focused ? element_state_flag_focus : element_state_flag_focus_no;
  if (w && w->pressed() == this && w->pressed_inside()) {
    flags |= element_state_flag_down;
  } else if (w && w->hot() == this && (!w->pressed() || w->pressed() == this) && enabled_) {
    flags |= element_state_flag_stay;
  } else {
    flags |= element_state_flag_leave;
  }
  return flags;
}

bool Element::DrawBkImages(Canvas& canvas, const RECT& rect) const {
  if (bk_images_.empty()) return false;
  int state = StateFlags();
  std::vector<const Image*> chosen;
  for (const auto& [mask, image] : bk_images_) {
    if ((mask & state) == mask) chosen.push_back(image);
  }
  // A state without images of its own shows the normal ones.
  if (chosen.empty()) {
    for (const auto& [mask, image] : bk_images_) {
      if (mask == element_state_flag_leave) chosen.push_back(image);
    }
  }
  for (const Image* image : chosen) canvas.DrawImage(*image, rect);
  return !chosen.empty();
}

const Image* Element::FaceImage() const {
  if (bk_images_.empty()) return nullptr;
  for (const auto& [mask, image] : bk_images_) {
    if (mask == element_state_flag_leave) return image;
  }
  return bk_images_.front().second;
}

Argb Element::BorderColor() const { return style().border_color.value_or(0xFFA0A0A0); }

void Element::DrawBox(Canvas& canvas, const RECT& rect, Argb default_background) const {
  if (!bk_transparent_) canvas.FillRect(rect, style().background_color.value_or(default_background));
  if (draw_border_) canvas.FrameRect(rect, BorderColor(), style().border_width.value_or(1));
}

void Element::DrawFace(Canvas& canvas, const RECT& rect) {
  if (!DrawBkImages(canvas, rect)) DrawBox(canvas, rect, 0xFFFFFFFF);
}

void Element::PaintSelf(Canvas& canvas, const RECT& rect) {
  Context* context = Context::Current();
  if (context && events_.Has(XE_PAINT)) {
    DrawContext draw(canvas);
    HXCGUI handle = context->Register(&draw);
    bool handled = Raise(XE_PAINT, {reinterpret_cast<vint>(handle)});
    context->Unregister(&draw);
    if (handled || !alive()) return;
  }
  DrawFace(canvas, rect);
}

void Element::OnDestroy(Context& context) {
  Raise(XE_DESTROY);
  events_.ReleaseAll(context);
}

void Element::OnResized(int flags) { Raise(XE_SIZE, {flags}); }

}  // namespace xcgui
