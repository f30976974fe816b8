// VexoClient.exe: the installed product's client. Its window says which version is installed and where.
#include <string>

#include "package/product.h"
#include "package/program_path.h"
#include "runtime/win/scoped_handles.h"
#include "runtime/win/windows_api.h"

namespace {

constexpr wchar_t kWindowClass[] = L"VexoClientWindow";
constexpr int kIconId = 100;

// Layout in pixels of the client area (the program is DPI-unaware; Windows scales it as a whole).
constexpr int kClientWidth = 480;
constexpr int kClientHeight = 240;
constexpr int kBandHeight = 72;
constexpr int kMargin = 24;
constexpr int kIconSize = 48;
constexpr int kButtonWidth = 96;
constexpr int kButtonHeight = 30;

constexpr COLORREF kBandTop = RGB(0x3A, 0x8D, 0xFF);
constexpr COLORREF kBandBottom = RGB(0x15, 0x3E, 0xB8);
constexpr COLORREF kLabelColour = RGB(0x6B, 0x72, 0x80);
constexpr COLORREF kTextColour = RGB(0x1F, 0x29, 0x37);

// Control ids: the grey label is told apart by its id; the other texts need none.
constexpr int kTextId = 0;
constexpr int kLabelId = 101;

struct ClientWindow {
  std::wstring install_folder;
  vexo::win::ScopedFont band_font;
  vexo::win::ScopedFont headline_font;
  vexo::win::ScopedFont body_font;
  vexo::win::ScopedBrush background{::CreateSolidBrush(RGB(0xFF, 0xFF, 0xFF))};
  vexo::win::ScopedIcon icon;
};

vexo::win::ScopedFont MakeFont(int height, int weight) {
  return vexo::win::ScopedFont(::CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                             DEFAULT_PITCH, L"Microsoft YaHei"));
}

HWND AddControl(HWND parent, const wchar_t* control_class, const std::wstring& text, DWORD style, RECT box, int id,
                HFONT font) {
  HWND control = ::CreateWindowExW(0, control_class, text.c_str(), WS_CHILD | WS_VISIBLE | style, box.left, box.top,
                                   box.right - box.left, box.bottom - box.top, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

void BuildControls(HWND window, const ClientWindow& state) {
  const std::wstring headline = std::wstring(vexo::product::kDisplayName) + L" " + vexo::product::kVersion + L" 已成功安装";
  const int width = kClientWidth - 2 * kMargin;
  AddControl(window, L"STATIC", headline, SS_NOPREFIX, {kMargin, 92, kMargin + width, 122}, kTextId,
             state.headline_font.get());
  AddControl(window, L"STATIC", L"安装位置", SS_NOPREFIX, {kMargin, 132, kMargin + width, 152}, kLabelId,
             state.body_font.get());
  AddControl(window, L"STATIC", state.install_folder, SS_NOPREFIX | SS_PATHELLIPSIS,
             {kMargin, 154, kMargin + width, 176}, kTextId, state.body_font.get());
  HWND close = AddControl(window, L"BUTTON", L"关闭", WS_TABSTOP | BS_DEFPUSHBUTTON,
                          {kClientWidth - kMargin - kButtonWidth, kClientHeight - 18 - kButtonHeight,
                           kClientWidth - kMargin, kClientHeight - 18},
                          IDOK, state.body_font.get());
  ::SetFocus(close);
}

void PaintBand(HWND window, HDC dc, const ClientWindow& state) {
  RECT client{};
  ::GetClientRect(window, &client);
  TRIVERTEX corners[2] = {
      {0, 0, static_cast<COLOR16>(GetRValue(kBandTop) << 8), static_cast<COLOR16>(GetGValue(kBandTop) << 8),
       static_cast<COLOR16>(GetBValue(kBandTop) << 8), 0},
      {client.right, kBandHeight, static_cast<COLOR16>(GetRValue(kBandBottom) << 8),
       static_cast<COLOR16>(GetGValue(kBandBottom) << 8), static_cast<COLOR16>(GetBValue(kBandBottom) << 8), 0},
  };
  GRADIENT_RECT span{0, 1};
  ::GdiGradientFill(dc, corners, 2, &span, 1, GRADIENT_FILL_RECT_H);
  const int icon_top = (kBandHeight - kIconSize) / 2;
  if (state.icon) ::DrawIconEx(dc, kMargin, icon_top, state.icon.get(), kIconSize, kIconSize, 0, nullptr, DI_NORMAL);

  vexo::win::ScopedSelectObject font(dc, state.band_font.get());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(0xFF, 0xFF, 0xFF));
  RECT title{kMargin + kIconSize + 14, 0, client.right - kMargin, kBandHeight};
  ::DrawTextW(dc, vexo::product::kDisplayName, -1, &title, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* state = reinterpret_cast<ClientWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE:
      state = static_cast<ClientWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
      ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
      break;
    case WM_CREATE:
      BuildControls(window, *state);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      HDC dc = ::BeginPaint(window, &paint);
      PaintBand(window, dc, *state);
      ::EndPaint(window, &paint);
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wparam);
      const bool label = ::GetDlgCtrlID(reinterpret_cast<HWND>(lparam)) == kLabelId;
      ::SetTextColor(dc, label ? kLabelColour : kTextColour);
      ::SetBkColor(dc, RGB(0xFF, 0xFF, 0xFF));
      return reinterpret_cast<LRESULT>(state->background.get());
    }
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) ::DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  ClientWindow state;
  const std::wstring program = vexo::product::ProgramPath();
  state.install_folder = program.substr(0, program.find_last_of(L'\\') + 1);
  state.band_font = MakeFont(24, FW_BOLD);
  state.headline_font = MakeFont(20, FW_BOLD);
  state.body_font = MakeFont(15, FW_NORMAL);
  state.icon.reset(static_cast<HICON>(
      ::LoadImageW(instance, MAKEINTRESOURCEW(kIconId), IMAGE_ICON, kIconSize, kIconSize, LR_DEFAULTCOLOR)));

  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.hIcon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(kIconId), IMAGE_ICON, 0, 0,
                                                       LR_DEFAULTSIZE | LR_SHARED));
  window_class.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = state.background.get();
  window_class.lpszClassName = kWindowClass;
  if (!::RegisterClassExW(&window_class)) return 1;

  constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT frame{0, 0, kClientWidth, kClientHeight};
  ::AdjustWindowRectEx(&frame, kStyle, FALSE, WS_EX_CONTROLPARENT);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  vexo::win::ScopedWindow window(::CreateWindowExW(
      WS_EX_CONTROLPARENT, kWindowClass, vexo::product::kDisplayName, kStyle,
      (::GetSystemMetrics(SM_CXSCREEN) - width) / 2, (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
      nullptr, nullptr, instance, &state));
  if (!window) return 1;
  ::ShowWindow(window.get(), show);
  ::UpdateWindow(window.get());

  MSG message{};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (::IsDialogMessageW(window.get(), &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  // The window destroyed itself before the loop ended; the holder must not destroy it again.
  window.release();
  return static_cast<int>(message.wParam);
}
