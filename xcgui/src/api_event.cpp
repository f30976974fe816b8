// Event registration functions of the public interface.
#include "xcgui/src/context.h"
#include "xcgui/src/element.h"
#include "xcgui/src/window.h"
#include "xcgui/xcgui.h"

using xcgui::Context;

namespace {

template <typename T>
BOOL Register(const void* handle, int id, xc_event* record) {
  Context* context = Context::Current();
  T* target = context ? context->Find<T>(handle) : nullptr;
  return target && target->events().Add(id, record);
}

template <typename T>
BOOL Remove(const void* handle, int id, xc_event* record) {
  Context* context = Context::Current();
  T* target = context ? context->Find<T>(handle) : nullptr;
  return target && target->events().Remove(*context, id, record);
}

}  // namespace

extern "C" {

BOOL _XEle_RegEvent(HELE element, int id, xc_event* record) { return Register<xcgui::Element>(element, id, record); }

BOOL _XEle_RemoveEvent(HELE element, int id, xc_event* record) {
  return Remove<xcgui::Element>(element, id, record);
}

BOOL _XWnd_RegEvent(HWINDOW window, int id, xc_event* record) { return Register<xcgui::Window>(window, id, record); }

BOOL _XWnd_RemoveEvent(HWINDOW window, int id, xc_event* record) {
  return Remove<xcgui::Window>(window, id, record);
}

}  // extern "C"
