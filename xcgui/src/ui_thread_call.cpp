#include "xcgui/src/ui_thread_call.h"

namespace xcgui {
namespace {

constexpr wchar_t kClassName[] = L"XCGUI_UiThreadCall";
constexpr UINT kCallMessage = WM_APP + 1;

// Read by any thread; written by the UI thread when the library starts and stops.
std::atomic<HWND> g_call_window{nullptr};
std::atomic<DWORD> g_ui_thread{0};

}  // namespace

UiThreadCall::~UiThreadCall() { Close(); }

bool UiThreadCall::Open(HINSTANCE module) {
  module_ = module;
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &UiThreadCall::WindowProc;
  wc.hInstance = module;
  wc.lpszClassName = kClassName;
  window_class_ = RegisterClassExW(&wc);
  if (!window_class_) return false;
  window_.reset(CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, module, nullptr));
  if (!window_) {
    Close();
    return false;
  }
  g_ui_thread = GetCurrentThreadId();
  g_call_window = window_.get();
  return true;
}

void UiThreadCall::Close() {
  g_call_window = nullptr;
  g_ui_thread = 0;
  window_.reset();
  if (window_class_) UnregisterClassW(kClassName, module_);
  window_class_ = 0;
}

vint UiThreadCall::Call(funCallUiThread function, vint data) {
  if (!function) return 0;
  HWND window = g_call_window;
  if (!window) return 0;
  if (GetCurrentThreadId() == g_ui_thread) return function(data);
  // Waits as long as the UI thread needs; gives 0 if the window is destroyed before serving the call.
  return static_cast<vint>(
      SendMessageW(window, kCallMessage, reinterpret_cast<WPARAM>(function), static_cast<LPARAM>(data)));
}

LRESULT CALLBACK UiThreadCall::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kCallMessage) {
    auto function = reinterpret_cast<funCallUiThread>(wparam);
    return static_cast<LRESULT>(function(static_cast<vint>(lparam)));
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace xcgui
