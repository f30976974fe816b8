// Holder of a GDI+ session: started by the constructor, shut down by the destructor or reset().
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

namespace vexo::win {

class ScopedGdiplus {
 public:
  // Starts GDI+; check is_valid() for the outcome.
  ScopedGdiplus() {
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) token_ = 0;
  }
  ~ScopedGdiplus() { reset(); }
  ScopedGdiplus(const ScopedGdiplus&) = delete;
  ScopedGdiplus& operator=(const ScopedGdiplus&) = delete;

  ULONG_PTR get() const { return token_; }
  bool is_valid() const { return token_ != 0; }
  explicit operator bool() const { return is_valid(); }

  // Shuts GDI+ down; every GDI+ object must be gone before.
  void reset() {
    if (token_) Gdiplus::GdiplusShutdown(token_);
    token_ = 0;
  }

 private:
  ULONG_PTR token_ = 0;
};

}  // namespace vexo::win
