#include "ui/wrapper_base.h"

#include "ui/event_record.h"

namespace rg_xc_gui {

rg_xcbase::~rg_xcbase() { vexo::ui::ForgetTarget(this); }

}  // namespace rg_xc_gui
