#include "runtime/app_host.h"

#include <commctrl.h>

#include <cstdlib>

#include "runtime/app_instance.h"
#include "runtime/display_scale.h"

namespace {

// Every class of common control the runtime's windows may use.
constexpr DWORD kCommonControlClasses = 0xFF;

}  // namespace

CPelUserApp* StartRuntime(HINSTANCE instance, int argc, wchar_t** argv, const ClassInfo& startup_class) {
  CPelAppInstance& app_instance = vexo::TheAppInstance();
  app_instance.SetStartupValues(instance, argc, argv);
  app_instance.InitializeCom();
  unsigned monitor_dpi = vexo::QueryMonitorDpi();
  int device_dpi = monitor_dpi != 0 ? 0 : vexo::QueryDeviceDpi();
  app_instance.SetDisplayScale(vexo::DisplayScaleFromDpi(monitor_dpi, device_dpi));

  if (startup_class.factory == nullptr) std::exit(-1);
  CPelObject* object = startup_class.factory();
  if (!object->IsKindOf(CPelUserApp::StaticClassInfo())) {
    object->Release();
    std::exit(-1);
  }
  auto* user_app = static_cast<CPelUserApp*>(object);
  app_instance.SetUserApp(user_app);
  return user_app;
}

CPelMFCApp::CPelMFCApp(HINSTANCE instance, int argc, wchar_t** argv, const ClassInfo& startup_class,
                       vexo::StartMethod start)
    : instance_(instance), argc_(argc), argv_(argv), startup_class_(startup_class), start_(start) {}

int CPelMFCApp::InitInstance() {
  INITCOMMONCONTROLSEX controls = {sizeof(INITCOMMONCONTROLSEX), kCommonControlClasses};
  ::InitCommonControlsEx(&controls);
  CPelUserApp* user_app = StartRuntime(instance_, argc_, argv_, startup_class_);
  vexo::RunStartGuarded(start_, *user_app);
  return 0;
}
