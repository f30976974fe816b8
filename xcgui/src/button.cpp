#include "xcgui/src/button.h"

#include "xcgui/src/canvas.h"
#include "xcgui/src/window.h"

namespace xcgui {
namespace {

Argb Mix(Argb color, Argb toward, int percent) {
  auto channel = [&](int shift) {
    int a = (color >> shift) & 0xFF;
    int b = (toward >> shift) & 0xFF;
    return static_cast<Argb>(a + (b - a) * percent / 100) << shift;
  };
  return (color & 0xFF000000) | channel(16) | channel(8) | channel(0);
}

}  // namespace

int Button::StateFlags() const {
  int flags = Element::StateFlags();
  if (space_down_) flags = (flags & ~(element_state_flag_leave | element_state_flag_stay)) | element_state_flag_down;
  return flags;
}

void Button::Click() {
  if (!enabled()) return;
  bool handled = Raise(XE_BNCLICK);
  if (handled || !alive() || !window()) return;
  switch (role_) {
    case ButtonRole::kClose:
      window()->Close();
      break;
    case ButtonRole::kMinimize:
      ShowWindow(window()->hwnd(), SW_MINIMIZE);
      break;
    case ButtonRole::kNone:
      break;
  }
}

void Button::OnRelease(POINT, bool inside) {
  if (inside) Click();
}

bool Button::OnKeyDown(UINT key) {
  if (key == VK_RETURN) {
    Click();
    return true;
  }
  if (key == VK_SPACE) {
    space_down_ = true;
    Invalidate();
    return true;
  }
  return false;
}

void Button::OnKeyUp(UINT key) {
  if (key != VK_SPACE || !space_down_) return;
  space_down_ = false;
  Invalidate();
  Click();
}

void Button::OnFocusChanged(bool focused) {
  if (!focused && space_down_) {
    space_down_ = false;
    Invalidate();
  }
}

void Button::DrawFace(Canvas& canvas, const RECT& rect) {
  if (!DrawBkImages(canvas, rect)) {
    Argb face = style().background_color.value_or(0xFFE1E1E1);
    int state = StateFlags();
    if (state & element_state_flag_down) {
      face = Mix(face, 0xFF000000, 15);
    } else if (state & element_state_flag_stay) {
      face = Mix(face, 0xFFFFFFFF, 35);
    }
    if (!bk_transparent()) canvas.FillRect(rect, face);
    if (draw_border()) canvas.FrameRect(rect, BorderColor(), style().border_width.value_or(1));
  }
  Argb color = enabled() ? style().color.value_or(0xFF000000) : 0xFF9A9A9A;
  canvas.DrawLine(text(), rect, Font(), color, style().text_align.value_or(TextAlign::kCenter));
  if (draw_focus() && window() && window()->focus() == this && window()->keyboard_cues()) {
    canvas.DrawFocus(rect);
  }
}

}  // namespace xcgui
