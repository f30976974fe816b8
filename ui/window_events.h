// The window event table: VEXO_UI_EVENT(Class, Name, id, (library values)) per event, in slot order. The
// handler name of each row is "&WinBase::OnName"; the values lie between the window handle and the
// handled flag.
#pragma once

// Events of every window (WinBase), 37 slots.
#define VEXO_UI_WINBASE_EVENTS(VEXO_UI_EVENT)                                          \
  VEXO_UI_EVENT(WinBase, WndDrawWindow, 15, (HDRAW))                                   \
  VEXO_UI_EVENT(WinBase, WndClose, 16, ())                                             \
  VEXO_UI_EVENT(WinBase, WndDestroy, 2, ())                                            \
  VEXO_UI_EVENT(WinBase, WndMouseMove, 512, (UINT, tagPOINT*))                         \
  VEXO_UI_EVENT(WinBase, WndLButtonDown, 513, (UINT, tagPOINT*))                       \
  VEXO_UI_EVENT(WinBase, WndLButtonUp, 514, (UINT, tagPOINT*))                         \
  VEXO_UI_EVENT(WinBase, WndRButtonDown, 516, (UINT, tagPOINT*))                       \
  VEXO_UI_EVENT(WinBase, WndRButtonUp, 517, (UINT, tagPOINT*))                         \
  VEXO_UI_EVENT(WinBase, WndLButtonDBClick, 515, (UINT, tagPOINT*))                    \
  VEXO_UI_EVENT(WinBase, WndRButtonDBClick, 518, (UINT, tagPOINT*))                    \
  VEXO_UI_EVENT(WinBase, WndMouseWheel, 522, (UINT, tagPOINT*))                        \
  VEXO_UI_EVENT(WinBase, WndMouseHover, 673, (UINT, tagPOINT*))                        \
  VEXO_UI_EVENT(WinBase, WndMouseLeave, 675, ())                                       \
  VEXO_UI_EVENT(WinBase, WndSize, 5, (UINT, tagSIZE*))                                 \
  VEXO_UI_EVENT(WinBase, WndTimer, 275, (UINT))                                        \
  VEXO_UI_EVENT(WinBase, WndSetFocus, 7, ())                                           \
  VEXO_UI_EVENT(WinBase, WndXCTimer, 28677, (UINT))                                    \
  VEXO_UI_EVENT(WinBase, WndKillFocus, 8, ())                                          \
  VEXO_UI_EVENT(WinBase, WndKeyDown, 256, (UINT, LPARAM))                              \
  VEXO_UI_EVENT(WinBase, WndCaptureChanged, 533, (HWND))                               \
  VEXO_UI_EVENT(WinBase, WndSetCursor, 32, (UINT, LPARAM))                             \
  VEXO_UI_EVENT(WinBase, WndChar, 258, (UINT, LPARAM))                                 \
  VEXO_UI_EVENT(WinBase, DropFiles, 563, (HDROP))                                      \
  VEXO_UI_EVENT(WinBase, WndProc, 28674, (UINT, UINT, LPARAM))                         \
  VEXO_UI_EVENT(WinBase, WndMenuPopup, 28683, (HMENUX))                                \
  VEXO_UI_EVENT(WinBase, WndMenuPopupWnd, 28684, (HMENUX, menu_popupWnd_*))            \
  VEXO_UI_EVENT(WinBase, WndMenuSelect, 28685, (int))                                  \
  VEXO_UI_EVENT(WinBase, WndMenuExit, 28686, ())                                       \
  VEXO_UI_EVENT(WinBase, WndMenuDrawBackground, 28687, (HDRAW, menu_drawBackground_*)) \
  VEXO_UI_EVENT(WinBase, MenuDrawItem, 28688, (HDRAW, menu_drawItem_*))                \
  VEXO_UI_EVENT(WinBase, WndDrawWindowEnd, 28691, (HDRAW))                             \
  VEXO_UI_EVENT(WinBase, WndDrawWindowDisplay, 28692, ())                              \
  VEXO_UI_EVENT(WinBase, Move, 3, (UINT, LPARAM))                                      \
  VEXO_UI_EVENT(WinBase, Customevent, 10001, (int, int))                               \
  VEXO_UI_EVENT(WinBase, WndDocPopup, 28693, (HWINDOW, HELE))                          \
  VEXO_UI_EVENT(WinBase, WndFloatWndDrag, 28694, (HWINDOW, HWINDOW*))                  \
  VEXO_UI_EVENT(WinBase, WndPaneShow, 28695, (HELE, int))
