// The start-up baseline of the installer benchmark: a plain Win32 program that shows one pop-up window of
// the installer's size and place (600 x 420, centred on the work area), paints it one colour and ends when
// the window is closed. Nothing else is loaded, so its first paint is what any window costs under wine.
#include <windows.h>

#include "runtime/win/scoped_handles.h"

namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 420;
constexpr COLORREF kColour = RGB(0x20, 0x60, 0xC0);

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(window, &paint);
      const vexo::win::ScopedBrush brush(::CreateSolidBrush(kColour));
      ::FillRect(dc, &paint.rcPaint, brush.get());
      ::EndPaint(window, &paint);
      return 0;
    }
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = &WindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  window_class.lpszClassName = L"VexoBareWindow";
  if (!::RegisterClassW(&window_class)) return 1;
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  HWND window = ::CreateWindowExW(WS_EX_APPWINDOW, window_class.lpszClassName, L"bare window", WS_POPUP,
                                  work.left + (work.right - work.left - kWidth) / 2,
                                  work.top + (work.bottom - work.top - kHeight) / 2, kWidth, kHeight, nullptr, nullptr,
                                  instance, nullptr);
  if (window == nullptr) return 1;
  ::ShowWindow(window, SW_SHOW);
  ::UpdateWindow(window);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}
