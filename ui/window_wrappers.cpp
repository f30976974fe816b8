#include "ui/window_wrappers.h"

namespace rg_xc_gui {

VEXO_UI_DEFINE_EVENT_ROWS(WinBase, VEXO_UI_WINBASE_EVENTS)

}  // namespace rg_xc_gui
