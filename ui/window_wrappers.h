// Wrappers of the UI library's windows: WinBase (37 event slots) and XWnd.
#pragma once

#include <cstdint>

#include "runtime/class_family.h"
#include "runtime/w_string.h"
#include "ui/event_rows.h"
#include "ui/window_events.h"
#include "ui/wrapper_base.h"

namespace rg_xc_gui {

// A window: 37 event slots. Window events never change the holder's handle.
class WinBase : public widgetUI {
  PEL_OBJECT_CLASS(WinBase, widgetUI, "rg_xc_gui::WinBase")
  // Slots 18, 19, 20: RegisterAllEvents, RegisterEvent, UnregisterEvent (ids outside the table are
  // ignored). None reports a result.
  VEXO_UI_FIRST_EVENT_OPERATIONS(WinBase, HWINDOW)

 public:
  // The holder's handle as a window.
  HWINDOW GetWindowHandle() const { return GetHandleAs<HWINDOW>(); }

  // Library calls with the holder's handle; each returns the library's result.
  BOOL Show(BOOL show) { return XWnd_Show(GetWindowHandle(), show); }
  BOOL EnableMaxWindow(BOOL enable) { return XWnd_EnableMaxWindow(GetWindowHandle(), enable); }
  BOOL EnableDragWindow(BOOL enable) { return XWnd_EnableDragWindow(GetWindowHandle(), enable); }
  BOOL EnablemLimitWindowSize(BOOL enable) { return XWnd_EnablemLimitWindowSize(GetWindowHandle(), enable); }
  BOOL SetTitle(const CWString& title) { return XWnd_SetTitle(GetWindowHandle(), title.GetText()); }
  // The native window, owned by the library.
  HWND GetHWND() { return XWnd_GetHWND(GetWindowHandle()); }
  BOOL AdjustLayout() { return XWnd_AdjustLayout(GetWindowHandle()); }
  // XWnd_Redraw: at once when `immediate`, otherwise with the next paint.
  BOOL Redraw(BOOL immediate) { return XWnd_Redraw(GetWindowHandle(), immediate); }
  // XWnd_CloseWindow: the close event first; the window is destroyed unless a handler set handled.
  BOOL CloseWindow() { return XWnd_CloseWindow(GetWindowHandle()); }

  VEXO_UI_WINBASE_EVENTS(VEXO_UI_DECLARE_EVENT_SLOT)
};

// A window (the installer's main window).
class XWnd : public WinBase {
  PEL_OBJECT_CLASS(XWnd, WinBase, "rg_xc_gui::XWnd")
};

}  // namespace rg_xc_gui
