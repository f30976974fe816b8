#include "runtime/display_scale.h"

#include <algorithm>

#include "runtime/win/scoped_handles.h"
#include "runtime/win/windows_api.h"

namespace vexo {

namespace {

constexpr double kBaseDpi = 96.0;
// MONITOR_DPI_TYPE's MDT_EFFECTIVE_DPI; shellscalingapi.h is not needed for one constant.
constexpr int kEffectiveDpi = 0;

using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

}  // namespace

double DisplayScaleFromDpi(unsigned monitor_dpi, int device_dpi) {
  double dpi = monitor_dpi != 0 ? static_cast<double>(monitor_dpi) : static_cast<double>(device_dpi);
  return std::max(1.0, dpi / kBaseDpi);
}

unsigned QueryMonitorDpi() {
  win::ScopedLibrary shcore(::LoadLibraryW(L"SHCore.dll"));
  if (!shcore) return 0;
  auto get_dpi = reinterpret_cast<GetDpiForMonitorFn>(
      reinterpret_cast<void*>(::GetProcAddress(shcore.get(), "GetDpiForMonitor")));
  if (get_dpi == nullptr) return 0;
  HMONITOR monitor = ::MonitorFromWindow(::GetDesktopWindow(), MONITOR_DEFAULTTONEAREST);
  UINT dpi_x = 0;
  UINT dpi_y = 0;
  if (FAILED(get_dpi(monitor, kEffectiveDpi, &dpi_x, &dpi_y))) return 0;
  return dpi_y;
}

int QueryDeviceDpi() {
  win::ScopedWindowDc dc(::GetDesktopWindow());
  if (!dc) return 0;
  return ::GetDeviceCaps(dc.get(), LOGPIXELSY);
}

}  // namespace vexo
