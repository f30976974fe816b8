// The display scale of the process: vertical DPI of the primary display relative to 96, at least 1.0.
#pragma once

namespace vexo {

// The scale for the DPI values found: `monitor_dpi` (the effective DPI of the monitor, 0 when unknown)
// wins; otherwise `device_dpi` (the desktop device context's LOGPIXELSY). Never below 1.0.
double DisplayScaleFromDpi(unsigned monitor_dpi, int device_dpi);

// The effective vertical DPI of the monitor nearest the desktop window, through SHCore's GetDpiForMonitor
// when the system has it; 0 when it cannot be had.
unsigned QueryMonitorDpi();
// LOGPIXELSY of the desktop window's device context; 0 when it cannot be had.
int QueryDeviceDpi();

}  // namespace vexo
