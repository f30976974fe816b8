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

struct RegKeyTraits {
  static HKEY InvalidValue() { return nullptr; }
  static bool IsValid(HKEY key) { return key != nullptr; }
  static void Free(HKEY key) { ::RegCloseKey(key); }
};

struct ModuleTraits {
  static HMODULE InvalidValue() { return nullptr; }
  static bool IsValid(HMODULE module) { return module != nullptr; }
  static void Free(HMODULE module) { ::FreeLibrary(module); }
};

template <typename T>
struct GdiObjectTraits {
  static T InvalidValue() { return nullptr; }
  static bool IsValid(T object) { return object != nullptr; }
  static void Free(T object) { ::DeleteObject(object); }
};

struct MemoryDcTraits {
  static HDC InvalidValue() { return nullptr; }
  static bool IsValid(HDC dc) { return dc != nullptr; }
  static void Free(HDC dc) { ::DeleteDC(dc); }
};

struct WindowTraits {
  static HWND InvalidValue() { return nullptr; }
  static bool IsValid(HWND window) { return window != nullptr; }
  static void Free(HWND window) { ::DestroyWindow(window); }
};

struct IconTraits {
  static HICON InvalidValue() { return nullptr; }
  static bool IsValid(HICON icon) { return icon != nullptr; }
  static void Free(HICON icon) { ::DestroyIcon(icon); }
};

// Kernel objects closed with CloseHandle (processes, threads, files, events); both null and
// INVALID_HANDLE_VALUE count as empty.
using ScopedHandle = ScopedGeneric<HANDLE, KernelHandleTraits>;
// Registry keys closed with RegCloseKey.
using ScopedRegKey = ScopedGeneric<HKEY, RegKeyTraits>;
// Libraries loaded with LoadLibrary, freed with FreeLibrary.
using ScopedLibrary = ScopedGeneric<HMODULE, ModuleTraits>;
// GDI objects (bitmaps, fonts, brushes, pens, regions) deleted with DeleteObject.
template <typename T>
using ScopedGdiObject = ScopedGeneric<T, GdiObjectTraits<T>>;
using ScopedBitmap = ScopedGdiObject<HBITMAP>;
using ScopedFont = ScopedGdiObject<HFONT>;
using ScopedBrush = ScopedGdiObject<HBRUSH>;
// Device contexts made with CreateCompatibleDC/CreateDC, deleted with DeleteDC.
using ScopedMemoryDc = ScopedGeneric<HDC, MemoryDcTraits>;
// Windows this code created and destroys itself.
using ScopedWindow = ScopedGeneric<HWND, WindowTraits>;
// Icons and cursors made with CreateIconIndirect and the like, destroyed with DestroyIcon.
using ScopedIcon = ScopedGeneric<HICON, IconTraits>;

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
