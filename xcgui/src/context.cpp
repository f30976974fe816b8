#include "xcgui/src/context.h"

#include <algorithm>
#include <atomic>
#include <mutex>

#include "xcgui/src/image.h"
#include "xcgui/src/window.h"

namespace xcgui {
namespace {

// Only the UI thread reads g_context; other threads see g_ui_thread alone and stop there.
std::unique_ptr<Context> g_context;
std::atomic<DWORD> g_ui_thread{0};
std::mutex g_start_stop;

}  // namespace

Context::Context() : module_(GetModuleHandleW(nullptr)) {}

Context::~Context() {
  // Windows first (their widgets refer to images and fonts), then the rest; GDI+ stops last.
  windows_.clear();
  FlushRetired();
  resources_.Clear();
  images_.clear();
  fonts_.Clear();
}

bool Context::Start() {
  std::lock_guard<std::mutex> lock(g_start_stop);
  if (g_ui_thread != 0) return false;
  std::unique_ptr<Context> context(new Context());
  if (!context->gdiplus_) return false;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(context->imaging_.receive())))) {
    return false;
  }
  if (!Window::RegisterWindowClass(context->module_)) return false;
  if (!context->ui_thread_call_.Open(context->module_)) {
    Window::UnregisterWindowClass(context->module_);
    return false;
  }
  g_context = std::move(context);
  g_ui_thread = GetCurrentThreadId();
  return true;
}

void Context::Stop() {
  std::lock_guard<std::mutex> lock(g_start_stop);
  Context* context = Current();
  if (!context || context->dispatching()) return;
  {
    DispatchScope scope(*context);
    // Closing a window may not be refused here: destroy them, newest first.
    while (!context->windows_.empty()) {
      Window* window = context->windows_.back().get();
      if (window->hwnd()) {
        DestroyWindow(window->hwnd());
      }
      if (!context->windows_.empty() && context->windows_.back().get() == window) context->RetireWindow(window);
    }
  }
  context->ui_thread_call_.Close();
  Window::UnregisterWindowClass(context->module_);
  g_ui_thread = 0;
  g_context.reset();
}

Context* Context::Current() {
  return GetCurrentThreadId() == g_ui_thread ? g_context.get() : nullptr;
}

HXCGUI Context::Register(Object* object) {
  next_handle_ += 4;
  auto handle = reinterpret_cast<HXCGUI>(next_handle_);
  objects_[next_handle_] = object;
  object->set_handle(handle);
  return handle;
}

void Context::Unregister(Object* object) {
  if (!object->handle()) return;
  objects_.erase(reinterpret_cast<uintptr_t>(object->handle()));
  object->set_handle(nullptr);
}

void Context::Retire(std::unique_ptr<Object> object) {
  retired_.push_back(std::move(object));
  if (!dispatching()) FlushRetired();
}

void Context::ReleaseRecord(xc_event* record) {
  if (!record) return;
  if (dispatching()) {
    retired_records_.push_back(record);
  } else {
    record->xc_event_free();
  }
}

void Context::FlushRetired() {
  // Releasing may run program code that retires more; loop until both lists stay empty.
  while (!retired_records_.empty() || !retired_.empty()) {
    std::vector<xc_event*> records;
    records.swap(retired_records_);
    for (xc_event* record : records) record->xc_event_free();
    std::vector<std::unique_ptr<Object>> objects;
    objects.swap(retired_);
  }
}

Window* Context::AdoptWindow(std::unique_ptr<Window> window) {
  windows_.push_back(std::move(window));
  return windows_.back().get();
}

void Context::RetireWindow(Window* window) {
  auto it = std::find_if(windows_.begin(), windows_.end(), [window](const auto& w) { return w.get() == window; });
  if (it == windows_.end()) return;
  std::unique_ptr<Window> owned = std::move(*it);
  windows_.erase(it);
  Unregister(owned.get());
  owned->mark_dead();
  Retire(std::move(owned));
  // Wakes a message loop waiting for the last window to go.
  if (windows_.empty()) PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
}

Image* Context::AdoptImage(std::unique_ptr<Image> image) {
  images_.push_back(std::move(image));
  Register(images_.back().get());
  return images_.back().get();
}

DispatchScope::DispatchScope(Context& context) : context_(context) { ++context_.dispatch_depth_; }

DispatchScope::~DispatchScope() {
  if (--context_.dispatch_depth_ == 0) context_.FlushRetired();
}

}  // namespace xcgui
