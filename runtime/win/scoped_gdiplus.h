// Holders for GDI+: a GDI+ session (start-up token) and flat-API objects: images (GdipDisposeImage) and
// graphics contexts (GdipDeleteGraphics).
#pragma once

#include <windows.h>

#include <objidl.h>
#include <gdiplus.h>

#include "runtime/win/scoped_generic.h"

namespace vexo::win {

// A GDI+ bitmap made by one of the GdipCreateBitmapFrom* calls.
using ScopedGpBitmap = ScopedNullHandle<Gdiplus::GpBitmap*, &Gdiplus::DllExports::GdipDisposeImage>;
// A GDI+ drawing context from GdipGetImageGraphicsContext and the like.
using ScopedGpGraphics = ScopedNullHandle<Gdiplus::GpGraphics*, &Gdiplus::DllExports::GdipDeleteGraphics>;

// A GDI+ session of its own: started by the constructor, shut down by the destructor or reset(). GDI+
// counts sessions, so this may run beside other ones in the process.
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

  // Shuts GDI+ down; every GDI+ object of this session must be gone before.
  void reset() {
    if (token_) Gdiplus::GdiplusShutdown(token_);
    token_ = 0;
  }

 private:
  ULONG_PTR token_ = 0;
};

}  // namespace vexo::win
