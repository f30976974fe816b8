// Holders for GDI+ flat-API objects: images (GdipDisposeImage) and graphics contexts (GdipDeleteGraphics).
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include "runtime/win/scoped_generic.h"

namespace vexo::win {

template <typename T>
struct GdiplusImageTraits {
  static T* InvalidValue() { return nullptr; }
  static bool IsValid(T* image) { return image != nullptr; }
  static void Free(T* image) { Gdiplus::DllExports::GdipDisposeImage(image); }
};

struct GdiplusGraphicsTraits {
  static Gdiplus::GpGraphics* InvalidValue() { return nullptr; }
  static bool IsValid(Gdiplus::GpGraphics* graphics) { return graphics != nullptr; }
  static void Free(Gdiplus::GpGraphics* graphics) { Gdiplus::DllExports::GdipDeleteGraphics(graphics); }
};

// A GDI+ bitmap made by one of the GdipCreateBitmapFrom* calls.
using ScopedGpBitmap = ScopedGeneric<Gdiplus::GpBitmap*, GdiplusImageTraits<Gdiplus::GpBitmap>>;
// A GDI+ drawing context from GdipGetImageGraphicsContext and the like.
using ScopedGpGraphics = ScopedGeneric<Gdiplus::GpGraphics*, GdiplusGraphicsTraits>;

}  // namespace vexo::win
