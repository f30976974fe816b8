#include "app/startup_class.h"

#include "runtime/win/windows_api.h"

namespace rg_Pelor_ChengXu {

void rg_QiDongLei::Start() { ::ExitProcess(0); }

}  // namespace rg_Pelor_ChengXu
