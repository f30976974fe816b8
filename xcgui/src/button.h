// A push button: pressed by the left button or by Enter/Space, clicked on release inside; its role may
// close or minimise the window, and a window control without images draws its own face and glyph.
#pragma once

#include "xcgui/src/element.h"

namespace xcgui {

enum class ButtonRole { kNone, kClose, kMinimize };

class Button : public Element {
 public:
  Button() : Element(WidgetType::kButton) {}

  void set_role(ButtonRole role) { role_ = role; }
  // Raises the click event and, unless a handler set handled, does the role's action.
  void Click();

  int StateFlags() const override;
  bool TakesMouse() const override { return true; }
  bool Focusable() const override { return true; }
  // Window controls come after the page's controls: minimise, then close.
  int TabGroup() const override;
  void OnRelease(POINT point, bool inside) override;
  bool OnKeyDown(UINT key) override;
  void OnKeyUp(UINT key) override;
  void OnFocusChanged(bool focused) override;
  void DrawFace(Canvas& canvas, const RECT& rect) override;

 private:
  // A plain button's face from its style: lighter under the mouse, darker pressed.
  void DrawPlainFace(Canvas& canvas, const RECT& rect, int state) const;
  // A window control's face without images: a fill for hover and press and the drawn glyph. Returns the
  // glyph's colour.
  Argb DrawWindowControl(Canvas& canvas, const RECT& rect, int state) const;
  // The keyboard focus ring, inset inside the visible face; `ink` is the colour of the text or glyph.
  void DrawFocusRing(Canvas& canvas, const RECT& rect, Argb ink) const;

  ButtonRole role_ = ButtonRole::kNone;
  bool space_down_ = false;
};

}  // namespace xcgui
