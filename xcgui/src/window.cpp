#include "xcgui/src/window.h"

#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "xcgui/src/canvas.h"
#include "xcgui/src/context.h"

namespace xcgui {
namespace {

constexpr wchar_t kWindowClass[] = L"XCGUI_Window";
constexpr UINT_PTR kBlinkTimer = 1;

POINT PointOf(LPARAM lparam) { return {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)}; }

// A point in the element's own coordinates, for event values.
POINT LocalPoint(const Element& element, POINT client) {
  RECT rect = element.ClientRect();
  return {client.x - rect.left, client.y - rect.top};
}

vint PointerValue(POINT* point) { return reinterpret_cast<vint>(point); }

// Where the mouse was when the message being handled was made (not where it is now: input may be queued).
POINT MessageScreenPoint() {
  DWORD position = GetMessagePos();
  return {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
}

void CollectFocusable(Widget& widget, std::vector<Element*>& out) {
  if (!widget.visible()) return;
  if (auto* element = dynamic_cast<Element*>(&widget); element && element->CanFocus()) out.push_back(element);
  for (const auto& child : widget.children()) CollectFocusable(*child, out);
}

// The Tab order: by group (the page's controls, then the window controls), in tree order within a group.
std::vector<Element*> TabOrder(Element& root) {
  std::vector<Element*> order;
  CollectFocusable(root, order);
  std::stable_sort(order.begin(), order.end(),
                   [](const Element* a, const Element* b) { return a->TabGroup() < b->TabGroup(); });
  return order;
}

}  // namespace

bool Window::RegisterWindowClass(HINSTANCE module) {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &Window::WindowProc;
  wc.hInstance = module;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kWindowClass;
  return RegisterClassExW(&wc) != 0;
}

void Window::UnregisterWindowClass(HINSTANCE module) { UnregisterClassW(kWindowClass, module); }

Window::Window(Context& context, const WindowSpec& window_spec)
    : Object(Kind::kWindow), context_(context), spec_(window_spec), root_(std::make_unique<Element>()) {
  root_->AttachTo(this);
  root_->SetSize(window_spec.width, window_spec.height);
  root_->style().background_color = window_spec.background;
  root_->set_draw_border(false);  // the window's edge is drawn over the content instead
}

Window::~Window() {
  ReleaseBackBuffer();
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

std::unique_ptr<Window> Window::Create(Context& context, const WindowSpec& window_spec, HWND owner) {
  std::unique_ptr<Window> window(new Window(context, window_spec));
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  int x = work.left + ((work.right - work.left) - window_spec.width) / 2;
  int y = work.top + ((work.bottom - work.top) - window_spec.height) / 2;
  DWORD style = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | (window_spec.maximize ? WS_MAXIMIZEBOX : 0);
  HWND hwnd = CreateWindowExW(WS_EX_APPWINDOW, kWindowClass, window_spec.title.c_str(), style, x, y, window_spec.width,
                              window_spec.height, owner, nullptr, context.module(), window.get());
  if (!hwnd) return nullptr;
  return window;
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
  // Objects destroyed by handlers stay in memory until this message is done with them.
  DispatchScope scope(self->context_);
  return self->HandleMessage(message, wparam, lparam);
}

bool Window::Raise(int id, std::initializer_list<vint> values) {
  if (!alive() || !handle()) return false;
  return events_.Raise(context_, *this, id, values.begin(), static_cast<int>(values.size()), true);
}

LRESULT Window::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the back buffer covers everything: no flicker
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_SIZE: {
      SIZE size = {LOWORD(lparam), HIWORD(lparam)};
      if (wparam == SIZE_MAXIMIZED && !spec_.maximize) {
        ShowWindow(hwnd_, SW_RESTORE);
        return 0;
      }
      if (wparam != SIZE_MINIMIZED) {
        root_->SetSize(size.cx, size.cy);
        root_->Layout(adjustLayout_all);
      }
      Raise(XWM_SIZE, {static_cast<vint>(wparam), reinterpret_cast<vint>(&size)});
      return 0;
    }
    case WM_MOVE:
      Raise(XWM_MOVE, {0, lparam});
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
      if (limit_size_) {
        if (spec_.min_width > 0) info->ptMinTrackSize.x = spec_.min_width;
        if (spec_.min_height > 0) info->ptMinTrackSize.y = spec_.min_height;
        if (spec_.max_width > 0) info->ptMaxTrackSize.x = spec_.max_width;
        if (spec_.max_height > 0) info->ptMaxTrackSize.y = spec_.max_height;
      }
      if (!spec_.maximize && hwnd_) {
        // A maximise that slips through keeps the window where and as large as it is.
        RECT rect;
        GetWindowRect(hwnd_, &rect);
        info->ptMaxSize = {rect.right - rect.left, rect.bottom - rect.top};
        info->ptMaxPosition = {rect.left, rect.top};
      }
      return 0;
    }
    case WM_SYSCOMMAND:
      if ((wparam & 0xFFF0) == SC_MAXIMIZE && !spec_.maximize) return 0;
      break;
    case WM_MOUSEMOVE:
      OnMouseMove(static_cast<UINT>(wparam), PointOf(lparam));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnButtonDown(static_cast<UINT>(wparam), PointOf(lparam), message == WM_LBUTTONDBLCLK);
      return 0;
    case WM_LBUTTONUP:
      OnButtonUp(static_cast<UINT>(wparam), PointOf(lparam));
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: {
      POINT point = PointOf(lparam);
      bool down = message == WM_RBUTTONDOWN;
      if (Raise(down ? XWM_RBUTTONDOWN : XWM_RBUTTONUP, {static_cast<vint>(wparam), PointerValue(&point)})) {
        return 0;
      }
      Element* target = alive() ? root_->ElementAt(point) : nullptr;
      if (target && target != root_.get()) {
        POINT local = LocalPoint(*target, point);
        target->Raise(down ? XE_RBUTTONDOWN : XE_RBUTTONUP, {static_cast<vint>(wparam), PointerValue(&local)});
      }
      return 0;
    }
    case WM_MOUSEWHEEL: {
      POINT point = PointOf(lparam);
      ScreenToClient(hwnd_, &point);
      UINT keys = GET_KEYSTATE_WPARAM(wparam);
      if (Raise(XWM_MOUSEWHEEL, {static_cast<vint>(keys), PointerValue(&point)}) || !alive()) return 0;
      Element* target = root_->ElementAt(point);
      if (!target || target == root_.get()) return 0;
      POINT local = LocalPoint(*target, point);
      if (target->Raise(XE_MOUSEWHEEL, {static_cast<vint>(keys), PointerValue(&local)})) return 0;
      for (Widget* w = target; w && w->alive() && w != root_.get(); w = w->parent()) {
        auto* element = dynamic_cast<Element*>(w);
        if (element && element->OnWheel(GET_WHEEL_DELTA_WPARAM(wparam))) break;
      }
      return 0;
    }
    case WM_MOUSEHOVER:
      OnMouseHover(static_cast<UINT>(wparam), PointOf(lparam));
      return 0;
    case WM_MOUSELEAVE:
      OnMouseLeave();
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lparam) != hwnd_) {
        dragging_ = false;
        CancelPress();
      }
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lparam) == HTCLIENT) {
        bool text = hot_ && hot_->type() == WidgetType::kEdit && !pressed_;
        SetCursor(LoadCursorW(nullptr, text ? IDC_IBEAM : IDC_ARROW));
        return TRUE;
      }
      break;
    case WM_KEYDOWN:
      if (OnKeyDown(static_cast<UINT>(wparam), lparam)) return 0;
      break;
    case WM_KEYUP:
      if (Element* target = focus_) {
        if (!target->Raise(XE_KEYUP, {static_cast<vint>(wparam), lparam}) && target->alive()) {
          target->OnKeyUp(static_cast<UINT>(wparam));
        }
      }
      return 0;
    case WM_CHAR: {
      if (Raise(XWM_CHAR, {static_cast<vint>(wparam), lparam}) || !alive()) return 0;
      Element* target = focus_;
      if (target && target->enabled() && !target->Raise(XE_CHAR, {static_cast<vint>(wparam), lparam}) &&
          target->alive()) {
        target->OnCharacter(static_cast<wchar_t>(wparam));
      }
      return 0;
    }
    case WM_SETFOCUS:
      Raise(XWM_SETFOCUS);
      RestartBlink();
      return 0;
    case WM_KILLFOCUS:
      Raise(XWM_KILLFOCUS);
      if (alive()) KillTimer(hwnd_, kBlinkTimer);
      return 0;
    case WM_TIMER:
      if (wparam == kBlinkTimer && focus_) focus_->OnBlink();
      return 0;
    case WM_CLOSE:
      if (!Raise(XWM_CLOSE) && alive()) DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

void Window::OnDestroy() {
  Raise(XWM_DESTROY);
  KillTimer(hwnd_, kBlinkTimer);
  hot_ = pressed_ = focus_ = nullptr;
  dragging_ = false;
  root_->DestroyTree(context_);
  events_.ReleaseAll(context_);
  // Nothing reaches this object from the native window any more; it is freed after the running dispatch.
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  hwnd_ = nullptr;
  context_.Unregister(this);
  mark_dead();
  context_.RetireWindow(this);
}

void Window::EnsureBackBuffer(int width, int height) {
  if (buffer_dc_ && buffer_size_.cx == width && buffer_size_.cy == height) return;
  ReleaseBackBuffer();
  buffer_dc_.reset(CreateCompatibleDC(nullptr));
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = std::max(1, width);
  info.bmiHeader.biHeight = -std::max(1, height);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  buffer_bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (buffer_dc_ && buffer_bitmap_ && bits) {
    buffer_old_ = SelectObject(buffer_dc_.get(), buffer_bitmap_.get());
    buffer_bits_ = static_cast<uint32_t*>(bits);
  }
  buffer_size_ = {width, height};
}

void Window::ReleaseBackBuffer() {
  if (buffer_dc_ && buffer_old_) SelectObject(buffer_dc_.get(), buffer_old_);
  buffer_old_ = nullptr;
  buffer_bits_ = nullptr;
  buffer_bitmap_.reset();
  buffer_dc_.reset();
  buffer_size_ = {};
}

void Window::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  RECT client;
  GetClientRect(hwnd_, &client);
  RECT area;
  if (dc && IntersectRect(&area, &ps.rcPaint, &client)) {
    EnsureBackBuffer(client.right, client.bottom);
    if (buffer_old_) {
      Gdiplus::Graphics graphics(buffer_dc_.get());
      Canvas canvas(buffer_dc_.get(), graphics, context_.fonts(),
                    PixelTarget{buffer_bits_, std::max<int>(1, client.right), std::max<int>(1, client.bottom)});
      canvas.SetClip(area);
      bool handled = false;
      if (events_.Has(XWM_PAINT)) {
        DrawContext draw(canvas);
        HXCGUI handle = context_.Register(&draw);
        handled = Raise(XWM_PAINT, {reinterpret_cast<vint>(handle)});
        context_.Unregister(&draw);
      }
      if (alive()) {
        if (handled) {
          for (size_t i = 0; i < root_->children().size(); ++i) root_->children()[i]->PaintTree(canvas, area);
        } else {
          root_->PaintTree(canvas, area);
        }
      }
      if (alive()) {
        canvas.SetClip(area);
        canvas.FrameRect(client, spec_.edge, 1);
      }
    }
    if (alive()) {
      BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, buffer_dc_.get(), area.left,
             area.top, SRCCOPY);
    }
  }
  if (hwnd_) EndPaint(hwnd_, &ps);
}

void Window::SetHot(Element* element) {
  if (element == hot_) return;
  Element* old = hot_;
  hot_ = element;
  if (old && old->alive()) {
    old->Invalidate();
    old->Raise(XE_MOUSELEAVE, {reinterpret_cast<vint>(element ? element->handle() : nullptr)});
  }
  if (element && element->alive() && hot_ == element) {
    element->Invalidate();
    element->Raise(XE_MOUSESTAY);
  }
  if (alive() && tracking_mouse_) {
    // Hover is reported once per element: arm it again for the new one.
    TRACKMOUSEEVENT track = {sizeof(track), TME_HOVER | TME_LEAVE, hwnd_, HOVER_DEFAULT};
    TrackMouseEvent(&track);
  }
}

void Window::OnMouseMove(UINT keys, POINT point) {
  if (!tracking_mouse_) {
    TRACKMOUSEEVENT track = {sizeof(track), TME_HOVER | TME_LEAVE, hwnd_, HOVER_DEFAULT};
    tracking_mouse_ = TrackMouseEvent(&track) != FALSE;
  }
  if (dragging_) {
    POINT cursor = MessageScreenPoint();
    SetWindowPos(hwnd_, nullptr, drag_origin_.x + cursor.x - drag_cursor_.x, drag_origin_.y + cursor.y - drag_cursor_.y,
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  if (Raise(XWM_MOUSEMOVE, {static_cast<vint>(keys), PointerValue(&point)}) || !alive()) return;
  Element* under = root_->ElementAt(point);
  if (under == root_.get()) under = nullptr;
  if (Element* target = pressed_) {
    RECT rect = target->ClientRect();
    bool inside = PtInRect(&rect, point) != FALSE;
    if (inside != pressed_inside_) {
      pressed_inside_ = inside;
      target->Invalidate();
    }
    hot_ = under;
    POINT local = LocalPoint(*target, point);
    if (target->Raise(XE_MOUSEMOVE, {static_cast<vint>(keys), PointerValue(&local)}) || !target->alive()) return;
    target->OnDrag(point);
    return;
  }
  SetHot(under);
  if (Element* target = hot_; target && target->alive()) {
    POINT local = LocalPoint(*target, point);
    target->Raise(XE_MOUSEMOVE, {static_cast<vint>(keys), PointerValue(&local)});
  }
}

void Window::OnMouseHover(UINT keys, POINT point) {
  if (Raise(XWM_MOUSEHOVER, {static_cast<vint>(keys), PointerValue(&point)}) || !alive()) return;
  if (Element* target = hot_) {
    POINT local = LocalPoint(*target, point);
    target->Raise(XE_MOUSEHOVER, {static_cast<vint>(keys), PointerValue(&local)});
  }
}

void Window::OnMouseLeave() {
  tracking_mouse_ = false;
  if (Raise(XWM_MOUSELEAVE) || !alive()) return;
  if (!pressed_) SetHot(nullptr);
}

void Window::OnButtonDown(UINT keys, POINT point, bool double_click) {
  if (Raise(double_click ? XWM_LBUTTONDBCLICK : XWM_LBUTTONDOWN, {static_cast<vint>(keys), PointerValue(&point)}) ||
      !alive()) {
    return;
  }
  Element* target = root_->ElementAt(point);
  if (target && target != root_.get()) {
    POINT local = LocalPoint(*target, point);
    bool handled = target->Raise(double_click ? XE_LBUTTONDBCLICK : XE_LBUTTONDOWN,
                                 {static_cast<vint>(keys), PointerValue(&local)});
    if (handled || !target->alive() || !alive()) return;
    if (target->TakesMouse()) {
      if (!target->enabled()) return;
      if (target->CanFocus()) SetFocus(target);
      if (!target->alive() || !alive()) return;
      pressed_ = target;
      pressed_inside_ = true;
      hot_ = target;
      SetCapture(hwnd_);
      target->Invalidate();
      target->Raise(XE_SETCAPTURE);
      if (!target->alive() || pressed_ != target) return;
      if (double_click) {
        target->OnDoubleClick(point);
      } else {
        target->OnPress(point);
      }
      return;
    }
  }
  // The window's body: drag it (double-clicks never maximise unless maximising is allowed).
  if (double_click && spec_.maximize) {
    ShowWindow(hwnd_, IsZoomed(hwnd_) ? SW_RESTORE : SW_MAXIMIZE);
    return;
  }
  if (spec_.drag && !IsZoomed(hwnd_)) {
    RECT rect;
    GetWindowRect(hwnd_, &rect);
    drag_cursor_ = MessageScreenPoint();
    drag_origin_ = {rect.left, rect.top};
    dragging_ = true;
    SetCapture(hwnd_);
  }
}

void Window::OnButtonUp(UINT keys, POINT point) {
  if (dragging_) {
    dragging_ = false;
    ReleaseCapture();
  }
  if (Raise(XWM_LBUTTONUP, {static_cast<vint>(keys), PointerValue(&point)}) || !alive()) return;
  if (Element* target = pressed_) {
    RECT rect = target->ClientRect();
    bool inside = pressed_inside_ && PtInRect(&rect, point);
    pressed_ = nullptr;
    pressed_inside_ = false;
    ReleaseCapture();
    target->Invalidate();
    target->Raise(XE_KILLCAPTURE);
    POINT local = LocalPoint(*target, point);
    if (target->alive()) target->Raise(XE_LBUTTONUP, {static_cast<vint>(keys), PointerValue(&local)});
    if (target->alive() && alive()) target->OnRelease(point, inside);
  } else if (Element* under = root_->ElementAt(point); under && under != root_.get()) {
    POINT local = LocalPoint(*under, point);
    under->Raise(XE_LBUTTONUP, {static_cast<vint>(keys), PointerValue(&local)});
  }
  if (!alive()) return;
  Element* under = root_->ElementAt(point);
  SetHot(under == root_.get() ? nullptr : under);
}

void Window::CancelPress() {
  Element* target = pressed_;
  if (!target) return;
  pressed_ = nullptr;
  pressed_inside_ = false;
  if (GetCapture() == hwnd_) ReleaseCapture();
  if (target->alive()) {
    target->Invalidate();
    target->Raise(XE_KILLCAPTURE);
  }
}

bool Window::OnKeyDown(UINT key, LPARAM lparam) {
  if (Raise(XWM_KEYDOWN, {static_cast<vint>(key), lparam}) || !alive()) return true;
  Element* target = focus_;
  if (target && (target->Raise(XE_KEYDOWN, {static_cast<vint>(key), lparam}) || !target->alive() || !alive())) {
    return true;
  }
  if (key == VK_TAB) {
    keyboard_cues_ = true;
    MoveFocus((GetKeyState(VK_SHIFT) & 0x8000) == 0);
    return true;
  }
  return target && target->enabled() && target->OnKeyDown(key);
}

void Window::MoveFocus(bool forward) {
  std::vector<Element*> order = TabOrder(*root_);
  if (order.empty()) return;
  size_t at = order.size();
  for (size_t i = 0; i < order.size(); ++i) {
    if (order[i] == focus_) at = i;
  }
  size_t next;
  if (at == order.size()) {
    next = forward ? 0 : order.size() - 1;
  } else {
    next = forward ? (at + 1) % order.size() : (at + order.size() - 1) % order.size();
  }
  SetFocus(order[next]);
}

void Window::SetFocus(Element* element) {
  if (element == focus_) return;
  Element* old = focus_;
  focus_ = element;
  if (old && old->alive()) {
    old->OnFocusChanged(false);
    old->Invalidate();
    old->Raise(XE_KILLFOCUS);
  }
  if (element && element->alive() && focus_ == element) {
    element->OnFocusChanged(true);
    element->Invalidate();
    element->Raise(XE_SETFOCUS);
  }
  RestartBlink();
}

void Window::RestartBlink() {
  if (!hwnd_) return;
  if (focus_ && focus_->type() == WidgetType::kEdit) {
    SetTimer(hwnd_, kBlinkTimer, GetCaretBlinkTime(), nullptr);
  } else {
    KillTimer(hwnd_, kBlinkTimer);
  }
}

void Window::ForgetHidden() {
  if (pressed_ && !pressed_->VisibleInTree()) CancelPress();
  if (hot_ && !hot_->VisibleInTree()) SetHot(nullptr);
  if (focus_ && !focus_->VisibleInTree()) SetFocus(nullptr);
}

void Window::Show(bool show) { ShowWindow(hwnd_, show ? SW_SHOW : SW_HIDE); }

void Window::SetTitle(const std::wstring& title) {
  spec_.title = title;
  SetWindowTextW(hwnd_, title.c_str());
  Redraw(false);
}

void Window::EnableMaximize(bool enable) {
  spec_.maximize = enable;
  LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
  style = enable ? (style | WS_MAXIMIZEBOX) : (style & ~static_cast<LONG_PTR>(WS_MAXIMIZEBOX));
  SetWindowLongPtrW(hwnd_, GWL_STYLE, style);
  if (!enable && IsZoomed(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
}

void Window::AdjustLayout() {
  RECT client;
  GetClientRect(hwnd_, &client);
  root_->SetSize(client.right, client.bottom);
  root_->Layout(adjustLayout_all);
  Redraw(false);
}

void Window::Redraw(bool now) {
  InvalidateRect(hwnd_, nullptr, FALSE);
  if (now) UpdateWindow(hwnd_);
}

void Window::InvalidateClient(const RECT& rect, bool now) {
  if (!hwnd_) return;
  InvalidateRect(hwnd_, &rect, FALSE);
  if (now) UpdateWindow(hwnd_);
}

bool Window::Close() {
  SendMessageW(hwnd_, WM_CLOSE, 0, 0);
  return !alive();
}

}  // namespace xcgui
