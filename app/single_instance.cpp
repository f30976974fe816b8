#include "app/single_instance.h"

#include "runtime/win/scoped_handles.h"
#include "runtime/win/windows_api.h"

namespace vexo::app {

namespace {

constexpr const wchar_t* kInstanceName = L"Local\\VexoInstaller-7f3c2a91";
constexpr const wchar_t* kWindowTitle = L"Vexo助手在线安装";
constexpr DWORD kWindowWaitMs = 2000;

// Held for the life of the process; the system drops it with the process.
win::ScopedHandle instance_name;

}  // namespace

bool ClaimSingleInstance() {
  instance_name.reset(::CreateMutexW(nullptr, FALSE, kInstanceName));
  if (!instance_name || ::GetLastError() != ERROR_ALREADY_EXISTS) return true;
  instance_name.reset();
  const DWORD start = ::GetTickCount();
  HWND running = nullptr;
  while ((running = ::FindWindowW(nullptr, kWindowTitle)) == nullptr && ::GetTickCount() - start < kWindowWaitMs) {
    ::Sleep(50);
  }
  if (running != nullptr) {
    if (::IsIconic(running)) ::ShowWindow(running, SW_RESTORE);
    ::SetForegroundWindow(running);
  }
  return false;
}

}  // namespace vexo::app
