// Widget, element, edit, progress bar and shape functions of the public interface.
#include <algorithm>
#include <cstring>
#include <memory>

#include "xcgui/src/button.h"
#include "xcgui/src/canvas.h"
#include "xcgui/src/context.h"
#include "xcgui/src/edit.h"
#include "xcgui/src/image.h"
#include "xcgui/src/progress_bar.h"
#include "xcgui/src/scroll_view.h"
#include "xcgui/src/shape_pic.h"
#include "xcgui/src/shape_text.h"
#include "xcgui/src/window.h"
#include "xcgui/xcgui.h"

using xcgui::Context;

namespace {

template <typename T>
T* Find(const void* handle) {
  Context* context = Context::Current();
  return context ? context->Find<T>(handle) : nullptr;
}

// A new element of type T at (x, y, width, height) inside `parent` (a window or an element), styled by the
// style sheet's rules for its type; 0 when the parent is not valid.
template <typename T>
HELE CreateIn(int x, int y, int width, int height, HXCGUI parent) {
  Context* context = Context::Current();
  if (!context) return nullptr;
  xcgui::Element* host = nullptr;
  if (auto* window = context->Find<xcgui::Window>(parent)) host = &window->root();
  if (!host) host = context->Find<xcgui::Element>(parent);
  if (!host) return nullptr;
  auto element = std::make_unique<T>();
  element->SetPosition(x, y);
  element->SetSize(std::max(0, width), std::max(0, height));
  element->style() = context->resources().style_sheet().Resolve(xcgui::Widget::TypeName(element->type()), L"", L"");
  xcgui::Widget* added = host->AddChild(std::move(element));
  added->RegisterTree(*context);
  added->Invalidate();
  return reinterpret_cast<HELE>(added->handle());
}

// Sets an element switch and repaints the element later.
template <typename Setter>
BOOL Switch(HELE handle, Setter setter) {
  auto* element = Find<xcgui::Element>(handle);
  if (!element) return FALSE;
  setter(*element);
  element->Invalidate();
  return TRUE;
}

}  // namespace

extern "C" {

BOOL XWidget_Show(HXCGUI handle, BOOL show) {
  auto* widget = Find<xcgui::Widget>(handle);
  if (!widget) return FALSE;
  bool visible = show != FALSE;
  if (widget->visible() == visible) return TRUE;
  xcgui::DispatchScope scope(*Context::Current());
  widget->Invalidate();
  widget->set_visible(visible);
  widget->Invalidate();
  if (widget->window()) widget->window()->ForgetHidden();
  if (auto* element = dynamic_cast<xcgui::Element*>(widget); element && element->alive()) {
    element->Raise(XE_SHOW, {visible ? 1 : 0});
  }
  return TRUE;
}

BOOL XWidget_IsShow(HXCGUI handle) {
  auto* widget = Find<xcgui::Widget>(handle);
  return widget && widget->visible();
}

BOOL XWidget_GetRect(HXCGUI handle, RECT* rect) {
  auto* widget = Find<xcgui::Widget>(handle);
  if (!widget || !rect) return FALSE;
  *rect = widget->ClientRect();
  return TRUE;
}

HELE XEle_Create(int x, int y, int width, int height, HXCGUI parent) {
  return CreateIn<xcgui::Element>(x, y, width, height, parent);
}

HELE XBtn_Create(int x, int y, int width, int height, const wchar_t* text, HXCGUI parent) {
  HELE handle = CreateIn<xcgui::Button>(x, y, width, height, parent);
  if (handle && text) Find<xcgui::Button>(handle)->set_text(text);
  return handle;
}

HELE XEdit_Create(int x, int y, int width, int height, HXCGUI parent) {
  return CreateIn<xcgui::Edit>(x, y, width, height, parent);
}

HELE XSView_Create(int x, int y, int width, int height, HXCGUI parent) {
  return CreateIn<xcgui::ScrollView>(x, y, width, height, parent);
}

BOOL XEle_SetPosition(HELE handle, int x, int y, BOOL redraw, int flags, UINT adjust_number) {
  auto* element = Find<xcgui::Element>(handle);
  if (!element) return FALSE;
  xcgui::DispatchScope scope(*Context::Current());
  if (redraw) element->Invalidate();
  element->SetPosition(x, y);
  if (flags == adjustLayout_all && element->window()) {
    element->window()->root().Layout(flags);
  } else if (flags == adjustLayout_self) {
    element->Layout(flags);
  }
  if (redraw && element->alive()) element->Invalidate();
  if (flags != adjustLayout_no && element->alive()) {
    element->Raise(XE_ADJUSTLAYOUT_END, {flags, static_cast<vint>(adjust_number)});
  }
  return TRUE;
}

BOOL XEle_EnableDrawBorder(HELE handle, BOOL enable) {
  return Switch(handle, [&](xcgui::Element& e) { e.set_draw_border(enable != FALSE); });
}

BOOL XEle_EnableBkTransparent(HELE handle, BOOL enable) {
  return Switch(handle, [&](xcgui::Element& e) { e.set_bk_transparent(enable != FALSE); });
}

BOOL XEle_EnableDrawFocus(HELE handle, BOOL enable) {
  return Switch(handle, [&](xcgui::Element& e) { e.set_draw_focus(enable != FALSE); });
}

BOOL XEle_AddBkImage(HELE handle, int state, HIMAGE image_handle) {
  auto* image = Find<xcgui::Image>(image_handle);
  if (!image) return FALSE;
  return Switch(handle, [&](xcgui::Element& e) { e.AddBkImage(state, image); });
}

BOOL XEle_Redraw(HELE handle, BOOL immediate) {
  auto* element = Find<xcgui::Element>(handle);
  if (!element) return FALSE;
  xcgui::DispatchScope scope(*Context::Current());
  element->Invalidate(immediate != FALSE);
  return TRUE;
}

int XEle_GetStateFlags(HELE handle) {
  auto* element = Find<xcgui::Element>(handle);
  return element ? element->StateFlags() : 0;
}

BOOL XEle_IsEnable(HELE handle) {
  auto* element = Find<xcgui::Element>(handle);
  return element && element->enabled();
}

BOOL XEle_DrawEle(HELE handle, HDRAW draw_handle) {
  auto* element = Find<xcgui::Element>(handle);
  auto* draw = Find<xcgui::DrawContext>(draw_handle);
  if (!element || !draw) return FALSE;
  element->DrawFace(draw->canvas(), element->ClientRect());
  return TRUE;
}

BOOL XEdit_SetText(HELE handle, const wchar_t* text) {
  auto* edit = Find<xcgui::Edit>(handle);
  if (!edit) return FALSE;
  xcgui::DispatchScope scope(*Context::Current());
  edit->SetTextFromProgram(text ? text : L"");
  return TRUE;
}

int XEdit_GetText(HELE handle, wchar_t* buffer, int size) {
  auto* edit = Find<xcgui::Edit>(handle);
  if (!edit) return -1;
  const std::wstring& text = edit->text();
  if (buffer && size > 0) {
    size_t count = std::min(text.size(), static_cast<size_t>(size - 1));
    std::memcpy(buffer, text.data(), count * sizeof(wchar_t));
    buffer[count] = L'\0';
  }
  return static_cast<int>(text.size());
}

BOOL XProgBar_SetPos(HELE handle, int position) {
  auto* bar = Find<xcgui::ProgressBar>(handle);
  if (!bar) return FALSE;
  xcgui::DispatchScope scope(*Context::Current());
  bar->SetPosition(position);
  return TRUE;
}

int XProgBar_GetPos(HELE handle) {
  auto* bar = Find<xcgui::ProgressBar>(handle);
  return bar ? bar->position() : 0;
}

BOOL XShapePic_SetImage(HXCGUI handle, HIMAGE image_handle) {
  auto* picture = Find<xcgui::ShapePic>(handle);
  auto* image = Find<xcgui::Image>(image_handle);
  if (!picture || (image_handle && !image)) return FALSE;
  picture->set_image(image);
  picture->Invalidate();
  return TRUE;
}

BOOL XShapeText_SetText(HXCGUI handle, const wchar_t* text) {
  auto* shape = Find<xcgui::ShapeText>(handle);
  if (!shape) return FALSE;
  shape->Invalidate();
  shape->set_text(text ? text : L"");
  shape->Invalidate();
  return TRUE;
}

}  // extern "C"
