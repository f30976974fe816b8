// The running library: its UI thread, the handle table, the objects it owns and deferred destruction.
#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include <wincodec.h>

#include "runtime/win/com_ptr.h"
#include "runtime/win/scoped_gdiplus.h"
#include "xcgui/src/font_cache.h"
#include "xcgui/src/object.h"
#include "xcgui/src/resource_pack.h"
#include "xcgui/src/ui_thread_call.h"

namespace xcgui {

class Window;
class Image;

class Context {
 public:
  // Starts the library on the calling thread; false when it is already running or GDI+ cannot start.
  static bool Start();
  // Destroys everything the running library owns; called on its UI thread.
  static void Stop();
  // The running library when called on its UI thread; null before Start, after Stop and on other threads.
  static Context* Current();

  ~Context();

  // Gives the object a new, never reused handle and makes it findable by that handle.
  HXCGUI Register(Object* object);
  // Makes the object's handle unknown from now on.
  void Unregister(Object* object);
  // The live object of that handle if it is a T; null for 0, unknown, destroyed or another kind.
  template <typename T>
  T* Find(const void* handle) const {
    auto it = objects_.find(reinterpret_cast<uintptr_t>(handle));
    return it == objects_.end() ? nullptr : dynamic_cast<T*>(it->second);
  }

  // Frees the object now, or when the outermost event dispatch ends if one is running.
  void Retire(std::unique_ptr<Object> object);
  // Releases an event record now, or when the outermost event dispatch ends if one is running.
  void ReleaseRecord(xc_event* record);
  bool dispatching() const { return dispatch_depth_ > 0; }

  // Windows in creation order; the context owns them until they are destroyed.
  std::vector<std::unique_ptr<Window>>& windows() { return windows_; }
  // Takes over a window; returns it.
  Window* AdoptWindow(std::unique_ptr<Window> window);
  // Removes a destroyed window from the list and retires it.
  void RetireWindow(Window* window);
  // Keeps a decoded image until Stop; returns it.
  Image* AdoptImage(std::unique_ptr<Image> image);

  // The imaging factory images are decoded with; owned by the context.
  IWICImagingFactory* imaging() const { return imaging_.get(); }
  FontCache& fonts() { return fonts_; }
  ResourcePack& resources() { return resources_; }
  UiThreadCall& ui_thread_call() { return ui_thread_call_; }
  HINSTANCE module() const { return module_; }

 private:
  friend class DispatchScope;
  Context();
  void FlushRetired();

  HINSTANCE module_;
  vexo::win::ScopedComInit com_;
  vexo::win::ComPtr<IWICImagingFactory> imaging_;
  vexo::win::ScopedGdiplus gdiplus_;
  std::unordered_map<uintptr_t, Object*> objects_;
  uintptr_t next_handle_ = 0x10000;
  int dispatch_depth_ = 0;
  std::vector<std::unique_ptr<Object>> retired_;
  std::vector<xc_event*> retired_records_;
  std::vector<std::unique_ptr<Window>> windows_;
  std::vector<std::unique_ptr<Image>> images_;
  FontCache fonts_;
  ResourcePack resources_;
  UiThreadCall ui_thread_call_;
};

// Marks a stretch of code that calls event handlers: objects and records retired meanwhile are freed when
// the outermost scope ends, so no code on the stack is left holding freed memory.
class DispatchScope {
 public:
  explicit DispatchScope(Context& context);
  ~DispatchScope();
  DispatchScope(const DispatchScope&) = delete;
  DispatchScope& operator=(const DispatchScope&) = delete;

 private:
  Context& context_;
};

}  // namespace xcgui
