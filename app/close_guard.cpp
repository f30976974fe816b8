#include "app/close_guard.h"

#include <atomic>

#include "app/installer_state.h"
#include "xcgui/xcgui.h"

namespace vexo::app {

namespace {

enum GuardState : int { kIdle, kChanging, kChangingCloseHeld };

std::atomic<int> guard_state{kIdle};

vint CloseMainWindow(vint) { return rg_Pelor_ChengXu::rg_Global::MainWindow.CloseWindow(); }

}  // namespace

void EnterSystemChanges() { guard_state.store(kChanging); }

void LeaveSystemChanges() {
  if (guard_state.exchange(kIdle) == kChangingCloseHeld) XC_CallUiThread(&CloseMainWindow, 0);
}

std::int32_t OnMainWindowClose(CPelObject*, CPelObject*, std::uint32_t, XCGUIDATA,
                               rg_Pelor_JiBen::rg_LuoJiXingLei* handled) {
  int expected = kChanging;
  const bool held = guard_state.compare_exchange_strong(expected, kChangingCloseHeld) ||
                    expected == kChangingCloseHeld;
  if (held) {
    rg_Pelor_ChengXu::rg_Global::MainWindow.Show(FALSE);
    handled->SetValue(true);
  }
  return 0;
}

}  // namespace vexo::app
