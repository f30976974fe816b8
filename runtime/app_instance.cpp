#include "runtime/app_instance.h"

#include "runtime/init_order.h"

namespace {

VEXO_INIT_ORDER(kAppInstance) CPelAppInstance app_instance;

}  // namespace

void CPelAppInstance::SetStartupValues(HINSTANCE instance, int argc, wchar_t** argv) {
  instance_ = instance;
  argc_ = argc;
  argv_ = argv;
}

void CPelAppInstance::InitializeCom() {
  if (!com_) com_.emplace(COINIT_APARTMENTTHREADED);
}

bool CPelAppInstance::IsComInitialized() const { return com_ && com_->succeeded(); }

namespace vexo {

CPelAppInstance& TheAppInstance() { return app_instance; }

CPoolMem& TheMemManager() { return app_instance.GetMemManager(); }

}  // namespace vexo
