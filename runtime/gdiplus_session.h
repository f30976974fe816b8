// The process's GDI+ start-up token: GDI+ is started once, on first use, and shut down at exit.
#pragma once

#include <mutex>
#include <optional>

#include "runtime/win/scoped_gdiplus.h"
#include "runtime/win/windows_api.h"

class GdiplusSession {
 public:
  // Nothing is started until Start. The destructor shuts GDI+ down if this session started it; every
  // GDI+ object must be gone by then.
  GdiplusSession() = default;
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;

  // Starts GDI+ unless it already runs (thread-safe). True when GDI+ runs; false when GdiplusStartup
  // failed, in which case a later call tries again.
  bool Start();

 private:
  std::mutex lock_;
  std::optional<vexo::win::ScopedGdiplus> session_;
};
