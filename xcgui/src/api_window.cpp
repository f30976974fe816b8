// Window functions of the public interface.
#include "xcgui/src/context.h"
#include "xcgui/src/window.h"
#include "xcgui/xcgui.h"

namespace {

xcgui::Window* LookUpWindow(HWINDOW handle) {
  xcgui::Context* context = xcgui::Context::Current();
  return context ? context->Find<xcgui::Window>(handle) : nullptr;
}

}  // namespace

extern "C" {

BOOL XWnd_Show(HWINDOW handle, BOOL show) {
  xcgui::Window* window = LookUpWindow(handle);
  if (!window) return FALSE;
  xcgui::DispatchScope scope(*xcgui::Context::Current());
  window->Show(show != FALSE);
  return TRUE;
}

BOOL XWnd_EnableMaxWindow(HWINDOW handle, BOOL enable) {
  xcgui::Window* window = LookUpWindow(handle);
  if (!window) return FALSE;
  window->EnableMaximize(enable != FALSE);
  return TRUE;
}

BOOL XWnd_EnableDragWindow(HWINDOW handle, BOOL enable) {
  xcgui::Window* window = LookUpWindow(handle);
  if (!window) return FALSE;
  window->EnableDrag(enable != FALSE);
  return TRUE;
}

BOOL XWnd_EnablemLimitWindowSize(HWINDOW handle, BOOL enable) {
  xcgui::Window* window = LookUpWindow(handle);
  if (!window) return FALSE;
  window->EnableSizeLimit(enable != FALSE);
  return TRUE;
}

BOOL XWnd_SetTitle(HWINDOW handle, const wchar_t* title) {
  xcgui::Window* window = LookUpWindow(handle);
  if (!window) return FALSE;
  window->SetTitle(title ? title : L"");
  return TRUE;
}

HWND XWnd_GetHWND(HWINDOW handle) {
  xcgui::Window* window = LookUpWindow(handle);
  return window ? window->hwnd() : nullptr;
}

BOOL XWnd_AdjustLayout(HWINDOW handle) {
  xcgui::Window* window = LookUpWindow(handle);
  if (!window) return FALSE;
  xcgui::DispatchScope scope(*xcgui::Context::Current());
  window->AdjustLayout();
  return TRUE;
}

BOOL XWnd_Redraw(HWINDOW handle, BOOL immediate) {
  xcgui::Window* window = LookUpWindow(handle);
  if (!window) return FALSE;
  xcgui::DispatchScope scope(*xcgui::Context::Current());
  window->Redraw(immediate != FALSE);
  return TRUE;
}

BOOL XWnd_CloseWindow(HWINDOW handle) {
  xcgui::Window* window = LookUpWindow(handle);
  if (!window) return FALSE;
  xcgui::DispatchScope scope(*xcgui::Context::Current());
  window->Close();
  return TRUE;
}

}  // extern "C"
