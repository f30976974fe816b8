// A push button: pressed by the left button or by Enter/Space, clicked on release inside; its role may
// close or minimise the window.
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
  void OnRelease(POINT point, bool inside) override;
  bool OnKeyDown(UINT key) override;
  void OnKeyUp(UINT key) override;
  void OnFocusChanged(bool focused) override;
  void DrawFace(Canvas& canvas, const RECT& rect) override;
 private:
  ButtonRole role_ = ButtonRole::kNone;
  bool space_down_ = false;
};

}  // namespace xcgui
