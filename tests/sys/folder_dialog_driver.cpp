#include "tests/sys/folder_dialog_driver.h"

#include <string>

#include "runtime/win/scoped_handles.h"

namespace vexo::test {

namespace {

constexpr DWORD kFindTimeoutMs = 20000;
constexpr DWORD kCloseTimeoutMs = 10000;

// Wine starts Linux programs too; xdotool's exit cannot be waited for, so callers watch its effect.
void RunXdotool(const std::wstring& arguments) {
  std::wstring command = L"/usr/bin/xdotool " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
  }
}

std::wstring ClickAt(HWND control) {
  RECT area{};
  ::GetWindowRect(control, &area);
  return L"mousemove " + std::to_wstring((area.left + area.right) / 2) + L" " +
         std::to_wstring((area.top + area.bottom) / 2) + L" click 1";
}

HWND FindDialog(DWORD thread) {
  HWND found = nullptr;
  ::EnumThreadWindows(
      thread,
      [](HWND window, LPARAM result) WINAPI -> BOOL {
        wchar_t kind[16] = {};
        ::GetClassNameW(window, kind, 16);
        if (std::wstring(kind) != L"#32770" || !::IsWindowVisible(window)) return TRUE;
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// WM_GETTEXT rather than GetWindowText, which does not ask a window of another process for its text.
std::wstring TextOf(HWND window) {
  wchar_t text[MAX_PATH] = {};
  DWORD_PTR copied = 0;
  ::SendMessageTimeoutW(window, WM_GETTEXT, MAX_PATH, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, kFindTimeoutMs,
                        &copied);
  return text;
}

bool WaitUntilClosed(HWND dialog, DWORD timeout_ms) {
  const DWORD start = ::GetTickCount();
  while (::IsWindow(dialog)) {
    if (::GetTickCount() - start > timeout_ms) return false;
    ::Sleep(50);
  }
  return true;
}

}  // namespace

FolderDialogDriver::FolderDialogDriver(DWORD dialog_thread, std::wstring title, Gesture gesture)
    : worker_([this, dialog_thread, title, gesture] { Drive(dialog_thread, title, gesture); }) {}

FolderDialogDriver::~FolderDialogDriver() {
  if (worker_.joinable()) worker_.join();
}

FolderDialogDriver::Observed FolderDialogDriver::Finish() {
  if (worker_.joinable()) worker_.join();
  return observed_;
}

void FolderDialogDriver::Drive(DWORD dialog_thread, const std::wstring& title, Gesture gesture) {
  HWND dialog = nullptr;
  const DWORD start = ::GetTickCount();
  while ((dialog = FindDialog(dialog_thread)) == nullptr) {
    if (::GetTickCount() - start > kFindTimeoutMs) return;
    ::Sleep(50);
  }
  observed_.dialog_found = true;
  // A message the dialog answers marks the point where its thread waits for input.
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, kFindTimeoutMs, &ignored);
  observed_.folder_text = TextOf(::FindWindowExW(dialog, nullptr, L"Edit", nullptr));

  // A click on the dialog's heading gives the dialog the X keyboard focus without moving the focus
  // away from the folder tree.
  const std::wstring focus_dialog = ClickAt(::FindWindowExW(dialog, nullptr, L"Static", title.c_str()));
  switch (gesture) {
    case Gesture::kClickOk:
      RunXdotool(ClickAt(::GetDlgItem(dialog, IDOK)));
      break;
    case Gesture::kClickCancel:
      RunXdotool(ClickAt(::GetDlgItem(dialog, IDCANCEL)));
      break;
    case Gesture::kPressEscape:
      RunXdotool(focus_dialog + L" sleep 0.3 key Escape");
      break;
    case Gesture::kOpenFirstSubfolderAndPressEnter:
      RunXdotool(focus_dialog + L" sleep 0.3 key --delay 150 Right Down Return");
      break;
    case Gesture::kDismiss:
      ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      break;
  }
  observed_.closed_by_gesture = WaitUntilClosed(dialog, kCloseTimeoutMs);
  if (!observed_.closed_by_gesture) {
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    WaitUntilClosed(dialog, kCloseTimeoutMs);
  }
}

}  // namespace vexo::test
