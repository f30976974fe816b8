// The installer's window: building it from the staged UI archive, and switching between its pages.
#pragma once

#include "xcgui/xcgui.h"

namespace rg_Pelor_ChengXu {

// Starts decoding the skin pictures on the UI library's decode-ahead thread, so that BuildWindow finds them
// ready. Call first thing at start; a picture that cannot be started is decoded by BuildWindow itself.
void DecodeSkinAhead();

// Loads the window and its three pages from the staged archive, attaches every named element to its
// wrapper, registers the button clicks and the window's close, and puts the skin pictures in place.
// UI thread, once, after the resource pack was loaded. Missing pieces leave zero handles; nothing fails.
void BuildWindow();

// The progress page at the start of an install attempt: bar at 0, status "downloading", retry hidden.
void ShowProgressPage();

// UI-thread callback: the success picture and the done page. The result is the window redraw's.
vint ShowDonePage(vint unused);

// UI-thread callback: the progress page says what failed and offers the retry button. `outcome` points
// to the failed vexo::app::InstallOutcome.
vint ShowFailurePage(vint outcome);

}  // namespace rg_Pelor_ChengXu
