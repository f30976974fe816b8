#include "xcgui/src/button.h"

#include <algorithm>
#include <cmath>

#include "xcgui/src/canvas.h"
#include "xcgui/src/image.h"
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

Argb WithAlpha(Argb color, Argb alpha) { return (color & 0x00FFFFFF) | (alpha << 24); }

constexpr Argb kDefaultInk = 0xFF000000;
constexpr Argb kDisabledInk = 0xFF9A9A9A;
// Window controls: the close button turns red under the mouse, darker when pressed; the others are
// veiled with their glyph's colour.
constexpr Argb kCloseHover = 0xFFE81123;
constexpr Argb kClosePressed = 0xFFB30E1C;
constexpr Argb kHoverVeil = 0x26;
constexpr Argb kPressedVeil = 0x4D;
constexpr float kGlyphStroke = 1.1f;
// Focus ring: kRingInset pixels inside the face, white on dark faces, dark on light ones.
constexpr float kRingInset = 3;
constexpr Argb kRingAlpha = 0xB3;
constexpr float kPlainRingRadius = 2;  // faces without pictures
constexpr Argb kRingOnDarkFace = 0xD9FFFFFF;
constexpr Argb kRingOnLightFace = 0x99000000;

}  // namespace

int Button::TabGroup() const {
  switch (role_) {
    case ButtonRole::kMinimize:
      return 1;
    case ButtonRole::kClose:
      return 2;
    case ButtonRole::kNone:
      break;
  }
  return 0;
}

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

void Button::DrawPlainFace(Canvas& canvas, const RECT& rect, int state) const {
  Argb face = style().background_color.value_or(0xFFE1E1E1);
  if (state & element_state_flag_down) {
    face = Mix(face, 0xFF000000, 15);
  } else if (state & element_state_flag_stay) {
    face = Mix(face, 0xFFFFFFFF, 35);
  }
  if (!bk_transparent()) canvas.FillRect(rect, face);
  if (draw_border()) canvas.FrameRect(rect, BorderColor(), style().border_width.value_or(1));
}

Argb Button::DrawWindowControl(Canvas& canvas, const RECT& rect, int state) const {
  Argb glyph = enabled() ? style().color.value_or(kDefaultInk) : kDisabledInk;
  bool pressed = (state & element_state_flag_down) != 0;
  bool hot = (state & element_state_flag_stay) != 0;
  if (style().background_color && !bk_transparent()) canvas.FillRect(rect, *style().background_color);
  if (role_ == ButtonRole::kClose && (pressed || hot)) {
    canvas.FillRect(rect, pressed ? kClosePressed : kCloseHover);
    glyph = 0xFFFFFFFF;
  } else if (pressed || hot) {
    // A veil of the glyph's own colour: light on dark backgrounds, dark on light ones.
    canvas.FillRect(rect, WithAlpha(glyph, pressed ? kPressedVeil : kHoverVeil));
  }
  if (draw_border() && style().border_color) {
    canvas.FrameRect(rect, *style().border_color, style().border_width.value_or(1));
  }

  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  int side = std::clamp(static_cast<int>(std::lround(std::min(width, height) * 0.42)), 6, 16);
  float left = static_cast<float>(rect.left + (width - side) / 2);
  float top = static_cast<float>(rect.top + (height - side) / 2);
  if (role_ == ButtonRole::kClose) {
    // The two diagonals of a side x side pixel square, corner to corner.
    float right = left + static_cast<float>(side);
    float bottom = top + static_cast<float>(side);
    canvas.DrawStroke({left, top}, {right, bottom}, glyph, kGlyphStroke);
    canvas.DrawStroke({right, top}, {left, bottom}, glyph, kGlyphStroke);
  } else {
    // One whole pixel row: sharp at any size.
    LONG row = rect.top + height / 2;
    RECT bar = {static_cast<LONG>(left), row, static_cast<LONG>(left) + side, row + 1};
    canvas.FillRect(bar, glyph);
  }
  return glyph;
}

void Button::DrawFocusRing(Canvas& canvas, const RECT& rect, Argb ink) const {
  ShapeRect ring = {static_cast<float>(rect.left), static_cast<float>(rect.top), static_cast<float>(rect.right),
                    static_cast<float>(rect.bottom)};
  float ring_radius = kPlainRingRadius;
  Argb color = WithAlpha(ink, kRingAlpha);
  const Image* image = FaceImage();
  if (image && !IsRectEmpty(&image->face().bounds)) {
    // The ring follows the face's own outline (scaled as the image is), rounded corners included, so
    // nothing is drawn over its transparent corners.
    const FaceShape& face = image->face();
    float scale_x = (ring.right - ring.left) / static_cast<float>(image->width());
    float scale_y = (ring.bottom - ring.top) / static_cast<float>(image->height());
    ring = {ring.left + face.bounds.left * scale_x, ring.top + face.bounds.top * scale_y,
            ring.left + face.bounds.right * scale_x, ring.top + face.bounds.bottom * scale_y};
    ring_radius = std::max(0.0f, face.corner_radius * std::min(scale_x, scale_y) - kRingInset - 0.5f);
    color = face.dark ? kRingOnDarkFace : kRingOnLightFace;
  }
  // A one-pixel line along the pixels kRingInset inside the face (concentric with a picture face's corners).
  float inset = kRingInset + 0.5f;
  ring = {ring.left + inset, ring.top + inset, ring.right - inset, ring.bottom - inset};
  canvas.FrameRoundRect(ring, ring_radius, color, 1.0f);
}

void Button::DrawFace(Canvas& canvas, const RECT& rect) {
  int state = StateFlags();
  bool has_images = DrawBkImages(canvas, rect);
  Argb ink;
  if (role_ != ButtonRole::kNone && !has_images) {
    ink = DrawWindowControl(canvas, rect, state);
  } else {
    if (!has_images) DrawPlainFace(canvas, rect, state);
    ink = enabled() ? style().color.value_or(kDefaultInk) : kDisabledInk;
    canvas.DrawLine(text(), rect, Font(), ink, style().text_align.value_or(TextAlign::kCenter));
  }
  if (draw_focus() && window() && window()->focus() == this && window()->keyboard_cues()) {
    DrawFocusRing(canvas, rect, ink);
  }
}

}  // namespace xcgui
