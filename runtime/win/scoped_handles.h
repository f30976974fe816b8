// Holders for the Win32 handle kinds the program owns: kernel objects, registry keys, modules, GDI objects,
// device contexts and windows. All share the verbs of ScopedGeneric: get, reset, release, receive.
#pragma once

#include <windows.h>

#include "runtime/win/scoped_generic.h"

namespace vexo::win {

struct KernelHandleTraits {
  static HANDLE InvalidValue() { return nullptr; }
  static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Free(HANDLE h) { ::CloseHandle(h); }
};

// Kernel objects closed with CloseHandle (processes, threads, files, events); both null and
// INVALID_HANDLE_VALUE count as empty.
using ScopedHandle = ScopedGeneric<HANDLE, KernelHandleTraits>;
// Registry keys closed with RegCloseKey.
using ScopedRegKey = ScopedNullHandle<HKEY, &::RegCloseKey>;
// Libraries loaded with LoadLibrary, freed with FreeLibrary.
using ScopedLibrary = ScopedNullHandle<HMODULE, &::FreeLibrary>;
// GDI objects (bitmaps, fonts, brushes, pens, regions) deleted with DeleteObject.
template <typename T>
using ScopedGdiObject = ScopedNullHandle<T, &::DeleteObject>;
using ScopedBitmap = ScopedGdiObject<HBITMAP>;
using ScopedFont = ScopedGdiObject<HFONT>;
using ScopedBrush = ScopedGdiObject<HBRUSH>;
// Device contexts made with CreateCompatibleDC/CreateDC, deleted with DeleteDC.
using ScopedMemoryDc = ScopedNullHandle<HDC, &::DeleteDC>;
// Windows this code created and destroys itself.
using ScopedWindow = ScopedNullHandle<HWND, &::DestroyWindow>;
// Icons and cursors made with CreateIconIndirect and the like, destroyed with DestroyIcon.
using ScopedIcon = ScopedNullHandle<HICON, &::DestroyIcon>;

// A window's device context from GetDC, given back with ReleaseDC.
class ScopedWindowDc {
 public:
  explicit ScopedWindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
  ~ScopedWindowDc() { reset(); }
  ScopedWindowDc(const ScopedWindowDc&) = delete;
  ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }
  void reset() {
    if (dc_) ::ReleaseDC(window_, dc_);
    dc_ = nullptr;
  }

 private:
  HWND window_;
  HDC dc_;
};

// A GDI object selected into a device context for the holder's lifetime.
class ScopedSelectObject {
 public:
  ScopedSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
  ~ScopedSelectObject() { reset(); }
  ScopedSelectObject(const ScopedSelectObject&) = delete;
  ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

  void reset() {
    if (old_ && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
    old_ = nullptr;
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace vexo::win
