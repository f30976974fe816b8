// A skinned top-level window: native window, element tree, double-buffered painting, mouse and keyboard
// routing, dragging, window events.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <memory>
#include <string>

#include "runtime/win/scoped_handles.h"
#include "xcgui/src/element.h"
#include "xcgui/src/event_registry.h"
#include "xcgui/src/object.h"
#include "xcgui/src/style.h"

namespace xcgui {

class Context;

// What a layout says about its window.
struct WindowSpec {
  int width = 400;
  int height = 300;
  int min_width = 0;
  int min_height = 0;
  int max_width = 0;   // 0: no maximum
  int max_height = 0;
  std::wstring title;
  bool drag = true;
  bool maximize = false;
  Argb background = 0xFFFFFFFF;
  // The one-pixel edge drawn round the client area over everything else; a translucent grey by
  // default, which shows on light and dark desktops alike. Fully transparent: no edge.
  Argb edge = 0x66000000;
  FontSpec font;
};

class Window : public Object {
 public:
  // Registers and unregisters the native window class; false when registering fails.
  static bool RegisterWindowClass(HINSTANCE module);
  static void UnregisterWindowClass(HINSTANCE module);
  // Creates the native window, hidden and centred on the work area; null when that fails.
  static std::unique_ptr<Window> Create(Context& context, const WindowSpec& window_spec, HWND owner);
  ~Window() override;

  // The native window; null once it is destroyed. Owned by this object.
  HWND hwnd() const { return hwnd_; }
  // The client area's container; its children are the window's top-level widgets. It has no handle.
  Element& root() { return *root_; }
  // The records registered on the window.
  EventRegistry& events() { return events_; }
  // Raises window event `id`; returns the handled flag.
  bool Raise(int id, std::initializer_list<vint> values = {});
  // The font widgets start from.
  const FontSpec& font() const { return spec_.font; }

  // Shows (and activates) or hides the native window.
  void Show(bool show);
  // Sets the native window's text and repaints title shapes.
  void SetTitle(const std::wstring& title);
  const std::wstring& title() const { return spec_.title; }
  // Allows or forbids maximising; forbidding restores a maximised window.
  void EnableMaximize(bool enable);
  // Whether dragging the body moves the window.
  void EnableDrag(bool enable) { spec_.drag = enable; }
  // Whether the layout's minimum and maximum sizes hold.
  void EnableSizeLimit(bool enable) { limit_size_ = enable; }
  // Lays every widget out again and repaints later.
  void AdjustLayout();
  // Repaints the client area.
  void Redraw(bool now);
  // Repaints part of the client area.
  void InvalidateClient(const RECT& rect, bool now);
  // Asks the window to close (close event first); false when a handler kept it open.
  bool Close();

  // Input state, as elements' states show it: the element under the mouse, the one pressed (and
  // whether the mouse is inside it) and the focused one; null when none.
  Element* hot() const { return hot_; }
  Element* pressed() const { return pressed_; }
  Element* focus() const { return focus_; }
  bool pressed_inside() const { return pressed_inside_; }
  // Keyboard cues (focus frames) are shown once the keyboard has been used.
  bool keyboard_cues() const { return keyboard_cues_; }
  // Moves the focus (focus events on both sides); null clears it.
  void SetFocus(Element* element);
  // Forgets hover, press and focus inside a widget that was hidden.
  void ForgetHidden();
  // Restarts the blink of the focused element's caret.
  void RestartBlink();

 private:
  Window(Context& context, const WindowSpec& window_spec);
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void OnPaint();
  void OnMouseMove(UINT keys, POINT point);
  void OnButtonDown(UINT keys, POINT point, bool double_click);
  void OnButtonUp(UINT keys, POINT point);
  void OnMouseLeave();
  void OnMouseHover(UINT keys, POINT point);
  bool OnKeyDown(UINT key, LPARAM lparam);
  void OnDestroy();
  void SetHot(Element* element);
  void MoveFocus(bool forward);
  void EnsureBackBuffer(int width, int height);
  void ReleaseBackBuffer();
  // Ends a press without a click (capture lost, element hidden).
  void CancelPress();

  Context& context_;
  WindowSpec spec_;
  HWND hwnd_ = nullptr;
  std::unique_ptr<Element> root_;
  EventRegistry events_;
  bool limit_size_ = true;
  bool placed_ = false;

  Element* hot_ = nullptr;
  Element* pressed_ = nullptr;
  bool pressed_inside_ = false;
  Element* focus_ = nullptr;
  bool keyboard_cues_ = false;
  bool tracking_mouse_ = false;
  bool dragging_ = false;
  POINT drag_cursor_ = {};
  POINT drag_origin_ = {};

  vexo::win::ScopedMemoryDc buffer_dc_;
  vexo::win::ScopedBitmap buffer_bitmap_;
  HGDIOBJ buffer_old_ = nullptr;
  SIZE buffer_size_ = {};
  uint32_t* buffer_bits_ = nullptr;  // the back buffer's pixels, top-down
};

}  // namespace xcgui
