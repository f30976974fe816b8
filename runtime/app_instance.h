// The application instance: what the whole process shares (memory manager, start-up values, COM, GDI+,
// scale) and the loading of the program's own resources.
#pragma once

#include <optional>

#include "runtime/common_base.h"
#include "runtime/gdiplus_session.h"
#include "runtime/module_resources.h"
#include "runtime/pool_mem.h"
#include "runtime/win/com_ptr.h"
#include "runtime/win/windows_api.h"

class CPelMem;
class CPelUserApp;
class CWString;

// One static object, constructed before every other static of the program (vexo::init_order) and
// destroyed after them: it shuts GDI+ down and uninitialises COM if it started them, and returns the
// memory region.
class CPelAppInstance : public CPelCommonBase {
 public:
  CPelAppInstance() = default;
  ~CPelAppInstance() = default;
  CPelAppInstance(const CPelAppInstance&) = delete;
  CPelAppInstance& operator=(const CPelAppInstance&) = delete;

  // The process-wide memory manager.
  CPoolMem& GetMemManager() { return mem_manager_; }

  // Stores the module handle and the argument count and vector (not copied; they live for the process).
  void SetStartupValues(HINSTANCE instance, int argc, wchar_t** argv);
  // The module handle given at start-up; null before.
  HINSTANCE GetInstanceHandle() const { return instance_; }
  int GetArgc() const { return argc_; }
  // The argument vector given at start-up; null before.
  wchar_t** GetArgv() const { return argv_; }

  // Initialises COM on the calling thread as a single-threaded apartment, once; remembers whether that
  // succeeded, so that shutdown uninitialises it only then.
  void InitializeCom();
  // Whether InitializeCom succeeded.
  bool IsComInitialized() const;

  // The display scale (vertical DPI / 96, at least 1.0); 1.0 until start-up sets it.
  double GetDisplayScale() const { return display_scale_; }
  void SetDisplayScale(double scale) { display_scale_ = scale; }

  // The current user application (created by the host; not owned here); null before start-up.
  CPelUserApp* GetUserApp() const { return user_app_; }
  void SetUserApp(CPelUserApp* app) { user_app_ = app; }

  // Resources of the program's own module (GetModule), by 16-bit id: ids outside 1-65535 name nothing.
  // Nothing is cached; every call copies out what it returns. Any thread. They are the instance's virtual
  // operations, slots 0-7 in this order.

  // Slot 0: the module handle given at start-up; before that, the module that holds the program's code.
  virtual HMODULE GetModule();
  // Slot 1: no operation of its own; always null. It keeps the later operations in their slots.
  virtual void* Reserved();
  // Slot 2: the string-table entry `id` into `text`. False, with `text` empty, when there is none.
  virtual bool LoadStringResource(int id, CWString& text);
  // Slot 3: a picture of kind `kind` (vexo::ResourceImageKind) from resource `id`: a bitmap decoded from
  // the raw data resource, the same bitmap as an image list, or the cursor or icon resource. Null on
  // failure. Bitmaps and image lists belong to the caller; cursors and icons are shared and must not be
  // destroyed.
  virtual HANDLE LoadImageResource(int kind, int id);
  // Slot 4: as LoadImageResource, from the picture, cursor or icon file at `path`; every result belongs to
  // the caller. Null for an empty path or on failure.
  virtual HANDLE LoadImageFile(int kind, const CWString& path);
  // Slot 5: a bitmap (a DIB section, owned by the caller) decoded from `size` bytes of PNG, BMP, JPEG or
  // GIF data at `data`; null when they cannot be decoded.
  virtual HBITMAP BitmapFromMemory(const void* data, int size);
  // Slot 6: the raw data resource `id` read as UTF-16 text into `text`, without one leading byte-order
  // mark and ending at the first zero unit. False, with `text` empty, when the resource is missing.
  virtual bool LoadTextResource(int id, CWString& text);
  // Slot 7: copies the bytes of raw data (RCDATA) resource `id` into `buffer`. Id 0 gives true with the
  // buffer empty; a missing resource gives false with the buffer empty.
  virtual bool LoadRawData(int id, CPelMem& buffer);
  // Starts GDI+ for the process unless it runs already (once, thread-safe). True when GDI+ runs.
  bool StartGdiplus() { return gdiplus_.Start(); }

 private:
  HINSTANCE instance_ = nullptr;
  int argc_ = 0;
  wchar_t** argv_ = nullptr;
  CPoolMem mem_manager_;
  std::optional<vexo::win::ScopedComInit> com_;
  CPelUserApp* user_app_ = nullptr;
  double display_scale_ = 1.0;
  GdiplusSession gdiplus_;
};

namespace vexo {

// The process's application instance.
CPelAppInstance& TheAppInstance();
// The process's memory manager (the application instance's).
CPoolMem& TheMemManager();

}  // namespace vexo
