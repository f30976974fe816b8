// Watches from outside when a window's pixels reach the screen: samples the screen area of another
// process's window until its image stops changing, and tells when that final image was first seen.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <thread>
#include <unordered_map>

namespace vexo::bench {

// Seconds on the performance counter, the clock of every figure the benchmark takes.
double Now();

class WindowWatch {
 public:
  // Starts sampling, on a thread of its own, the screen area of the visible top-level window titled `title`
  // (once there is one). Sampling ends when the image has stayed the same for `stable_ms`, or after
  // `timeout_ms` from now.
  WindowWatch(std::wstring title, DWORD stable_ms, DWORD timeout_ms);
  // Waits for the sampling to end.
  ~WindowWatch();
  WindowWatch(const WindowWatch&) = delete;
  WindowWatch& operator=(const WindowWatch&) = delete;

  // Waits for the sampling to end; the Now() of the first sample that showed the final image (the moment
  // its capture completed), or a negative value when no window appeared or its image never settled.
  double FinalImageSeen();
  // The window that was sampled (null when none appeared); valid once FinalImageSeen has returned.
  HWND window() const { return window_; }

 private:
  void Run(DWORD stable_ms, DWORD timeout_ms);

  std::wstring title_;
  HWND window_ = nullptr;
  double result_ = -1;
  std::thread thread_;
};

}  // namespace vexo::bench
