// The application host: turns the start of the GUI process into one guarded call of the startup class's
// start method.
#pragma once

#include "runtime/class_info.h"
#include "runtime/start_guard.h"
#include "runtime/user_app.h"
#include "runtime/win/windows_api.h"

// Stores the start-up values in the application instance, initialises COM (single-threaded apartment),
// sets the display scale and creates the user application from `startup_class`'s factory, registering it
// as the current one. A record without a factory, or one whose object is not a CPelUserApp, ends the
// process with exit code -1 (the object is released first). The application instance keeps the result.
CPelUserApp* StartRuntime(HINSTANCE instance, int argc, wchar_t** argv, const ClassInfo& startup_class);

// The process's application object, created by wWinMain once every static object exists.
class CPelMFCApp {
 public:
  // `startup_class` is the record of the startup class; `start` calls its start method.
  CPelMFCApp(HINSTANCE instance, int argc, wchar_t** argv, const ClassInfo& startup_class,
             vexo::StartMethod start);
  CPelMFCApp(const CPelMFCApp&) = delete;
  CPelMFCApp& operator=(const CPelMFCApp&) = delete;

  // Common controls, StartRuntime, then the start method under the start guard. The start method normally
  // ends the process; if it returns, so does this, with 0.
  int InitInstance();

 private:
  HINSTANCE instance_;
  int argc_;
  wchar_t** argv_;
  const ClassInfo& startup_class_;
  vexo::StartMethod start_;
};

namespace vexo {

// Runs the program whose startup class is T (a CPelUserApp with `void Start()`): the body of wWinMain.
template <class T>
int RunApplication(HINSTANCE instance, int argc, wchar_t** argv) {
  CPelMFCApp app(instance, argc, argv, T::StaticClassInfo(),
                 [](CPelUserApp& user_app) { static_cast<T&>(user_app).Start(); });
  return app.InitInstance();
}

}  // namespace vexo
