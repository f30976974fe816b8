// An element: a widget with events, states (enabled, focus, mouse), background images and a default
// face. Basic elements are plain containers; buttons, edits, progress bars and scroll views derive.
#pragma once

#include <initializer_list>
#include <utility>
#include <vector>

#include "xcgui/src/event_registry.h"
#include "xcgui/src/widget.h"

namespace xcgui {

class Image;

class Element : public Widget {
 public:
  explicit Element(WidgetType type = WidgetType::kElement) : Widget(type) {}

  EventRegistry& events() { return events_; }
  // Raises element event `id` with its values; returns the handled flag.
  bool Raise(int id, std::initializer_list<vint> values = {});

  bool enabled() const { return enabled_; }
  void set_enabled(bool enabled) { enabled_ = enabled; }
  bool draw_border() const { return draw_border_; }
  void set_draw_border(bool draw) { draw_border_ = draw; }
  bool bk_transparent() const { return bk_transparent_; }
  void set_bk_transparent(bool transparent) { bk_transparent_ = transparent; }
  bool draw_focus() const { return draw_focus_; }
  void set_draw_focus(bool draw) { draw_focus_ = draw; }
  // Adds an image drawn while the state has every flag of `state`.
  void AddBkImage(int state, const Image* image) { bk_images_.emplace_back(state, image); }

  // element_state_flag_ bits of the current state.
  virtual int StateFlags() const;
  // Whether a press on this element belongs to it (no window drag).
  virtual bool TakesMouse() const { return false; }
  // Whether Tab and clicks can give this kind of element the focus.
  virtual bool Focusable() const { return false; }
  // Focusable, enabled and shown.
  bool CanFocus() const { return Focusable() && enabled_ && VisibleInTree(); }
  // Tab visits lower groups first: the page's controls are group 0; window controls come after them.
  virtual int TabGroup() const { return 0; }

  // Input from the window, in client coordinates. Press and release come in pairs; drag in between.
  virtual void OnPress(POINT) {}
  virtual void OnDrag(POINT) {}
  virtual void OnRelease(POINT, bool /*inside*/) {}
  virtual void OnDoubleClick(POINT) {}
  // True when the key was used.
  virtual bool OnKeyDown(UINT) { return false; }
  virtual void OnKeyUp(UINT) {}
  virtual void OnCharacter(wchar_t) {}
  virtual void OnFocusChanged(bool) {}
  // True when the wheel was used.
  virtual bool OnWheel(int) { return false; }
  // The window's blink timer, delivered to the focused element.
  virtual void OnBlink() {}

  // The default face: background images of the state, or background colour and border.
  void DrawFace(Canvas& canvas, const RECT& rect) override;

 protected:
  void PaintSelf(Canvas& canvas, const RECT& rect) override;
  void OnDestroy(Context& context) override;
  void OnResized(int flags) override;
  // Draws the background images that match the state; false when there are none to draw.
  bool DrawBkImages(Canvas& canvas, const RECT& rect) const;
  // The image of the normal look (the first one added for it, else the first one); null without images.
  const Image* FaceImage() const;
  // Background colour and border as the style and the switches say, with the given fallbacks.
  void DrawBox(Canvas& canvas, const RECT& rect, Argb default_background) const;
  Argb BorderColor() const;

 private:
  EventRegistry events_;
  bool enabled_ = true;
  bool draw_border_ = true;
  bool bk_transparent_ = false;
  bool draw_focus_ = true;
  std::vector<std::pair<int, const Image*>> bk_images_;
};

}  // namespace xcgui
