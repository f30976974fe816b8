// Keeps the installer alive while the steps that change the system run: a close asked for meanwhile
// hides the window at once and closes it when those steps have finished.
#pragma once

#include <cstdint>

#include "runtime/boxed_values.h"
#include "runtime/pel_object.h"
#include "ui/handle_cast.h"

namespace vexo::app {

// Marks the start of the steps that must not be cut off (unpack, shortcuts, registry); worker thread.
void EnterSystemChanges();

// Marks their end; when a close was held back meanwhile, has the main window closed on the UI thread.
// Worker thread.
void LeaveSystemChanges();

// Handler of the main window's close event (UI thread): while system changes run it hides the window,
// sets the handled flag so the window stays, and remembers the close; otherwise it lets the close go on.
std::int32_t OnMainWindowClose(CPelObject* owner, CPelObject* source, std::uint32_t user_value,
                               XCGUIDATA window, rg_Pelor_JiBen::rg_LuoJiXingLei* handled);

}  // namespace vexo::app
