// Helper program of the host tests: a GUI process started through the runtime's host whose startup class
// does what the first argument asks, so the tests can watch the real start-up and exception paths.
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "runtime/app_host.h"
#include "runtime/app_instance.h"
#include "runtime/class_family.h"
#include "runtime/pel_exception.h"
#include "runtime/user_app.h"
#include "tests/support/unobtainable_memory.h"

namespace {

// Exit code of the "report" mode when everything the host should have set up was found in place.
constexpr UINT kReportAllGood = 0x5A;

class ProbeApp : public rg_Pelor_JiBen::rg_ChuangKouChengXuLei {
  PEL_OBJECT_CLASS(ProbeApp, rg_Pelor_JiBen::rg_ChuangKouChengXuLei, "host_child::ProbeApp")

  void Start() {
    CPelAppInstance& instance = vexo::TheAppInstance();
    const std::wstring mode = instance.GetArgc() > 1 ? instance.GetArgv()[1] : L"";
    if (mode == L"throw-pel") throw CPelException(42, L"磁盘 \"C:\\\" 已满 100%s");
    if (mode == L"throw-std") throw std::runtime_error("not a runtime exception");
    if (mode == L"throw-int") throw 7;
    if (mode == L"alloc-fails") Alloc(vexo::test::kUnobtainableBytes);
    if (mode == L"realloc-fails") Realloc(Alloc(16), vexo::test::kUnobtainableBytes);
    if (mode == L"new-fails") CPelObject::operator new(vexo::test::kUnobtainableBytes);
    if (mode == L"report") ::ExitProcess(Report(instance));
    ::ExitProcess(0);
  }

 private:
  // Each missing piece of start-up state sets one bit above kReportAllGood.
  UINT Report(const CPelAppInstance& instance) {
    UINT problems = 0;
    if (instance.GetInstanceHandle() != ::GetModuleHandleW(nullptr)) problems |= 0x100;
    if (instance.GetArgc() != 3 || std::wstring(instance.GetArgv()[2]) != L"second argument") problems |= 0x200;
    if (!instance.IsComInitialized()) problems |= 0x400;
    // COM already runs as a single-threaded apartment here, so asking for another model is refused.
    HRESULT other_model = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (other_model != RPC_E_CHANGED_MODE) problems |= 0x800;
    if (SUCCEEDED(other_model)) ::CoUninitialize();
    if (instance.GetUserApp() != this) problems |= 0x1000;
    if (!(instance.GetDisplayScale() >= 1.0)) problems |= 0x2000;
    return problems == 0 ? kReportAllGood : problems;
  }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  if (__argc > 1 && std::wstring(__wargv[1]) == L"not-user-app") {
    CPelMFCApp app(instance, __argc, __wargv, CPelObject::StaticClassInfo(), [](CPelUserApp&) { ::ExitProcess(3); });
    return app.InitInstance();
  }
  return vexo::RunApplication<ProbeApp>(instance, __argc, __wargv);
}
