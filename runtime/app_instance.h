// The application instance: what the whole process shares (memory manager, start-up values, COM, scale).
#pragma once

#include <optional>

#include "runtime/common_base.h"
#include "runtime/pool_mem.h"
#include "runtime/win/com_ptr.h"
#include "runtime/win/windows_api.h"

class CPelUserApp;

// One static object, constructed before every other static of the program (vexo::init_order) and
// destroyed after them: it uninitialises COM if it initialised it and returns the memory region.
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

 private:
  HINSTANCE instance_ = nullptr;
  int argc_ = 0;
  wchar_t** argv_ = nullptr;
  CPoolMem mem_manager_;
  std::optional<vexo::win::ScopedComInit> com_;
  CPelUserApp* user_app_ = nullptr;
  double display_scale_ = 1.0;
};

namespace vexo {

// The process's application instance.
CPelAppInstance& TheAppInstance();
// The process's memory manager (the application instance's).
CPoolMem& TheMemManager();

}  // namespace vexo
