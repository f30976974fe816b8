// The element event tables: VEXO_UI_EVENT(Class, Name, id, (library values)) per event, in slot order.
// The handler name of each row is "&Class::OnName"; the values lie between the element handle and the
// handled flag.
#pragma once

// Events of every element (XEleBase), 37 slots.
#define VEXO_UI_XELEBASE_EVENTS(VEXO_UI_EVENT)                                    \
  VEXO_UI_EVENT(XEleBase, EventProc, 1, (UINT, UINT, LPARAM))                     \
  VEXO_UI_EVENT(XEleBase, Draw, 2, (HDRAW))                                       \
  VEXO_UI_EVENT(XEleBase, PaintEnd, 3, (HDRAW))                                   \
  VEXO_UI_EVENT(XEleBase, DrawScrollView, 4, (HDRAW))                             \
  VEXO_UI_EVENT(XEleBase, MouseMove, 5, (UINT, tagPOINT*))                        \
  VEXO_UI_EVENT(XEleBase, MouseStay, 6, ())                                       \
  VEXO_UI_EVENT(XEleBase, MouseHover, 7, (UINT, tagPOINT*))                       \
  VEXO_UI_EVENT(XEleBase, MouseLeave, 8, (HELE))                                  \
  VEXO_UI_EVENT(XEleBase, MouseWheel, 9, (UINT, tagPOINT*))                       \
  VEXO_UI_EVENT(XEleBase, LButtonDown, 10, (UINT, tagPOINT*))                     \
  VEXO_UI_EVENT(XEleBase, LButtonUp, 11, (UINT, tagPOINT*))                       \
  VEXO_UI_EVENT(XEleBase, RButtonDown, 12, (UINT, tagPOINT*))                     \
  VEXO_UI_EVENT(XEleBase, RButtonUp, 13, (UINT, tagPOINT*))                       \
  VEXO_UI_EVENT(XEleBase, LButtonDBClick, 14, (UINT, tagPOINT*))                  \
  VEXO_UI_EVENT(XEleBase, RButtonDBClick, 15, (UINT, tagPOINT*))                  \
  VEXO_UI_EVENT(XEleBase, EleXCTimer, 16, (UINT))                                 \
  VEXO_UI_EVENT(XEleBase, SetFocus, 31, ())                                       \
  VEXO_UI_EVENT(XEleBase, KillFocus, 32, ())                                      \
  VEXO_UI_EVENT(XEleBase, Destroy, 33, ())                                        \
  VEXO_UI_EVENT(XEleBase, DestroyeEnd, 42, ())                                    \
  VEXO_UI_EVENT(XEleBase, Size, 36, (int))                                        \
  VEXO_UI_EVENT(XEleBase, Show, 37, (int))                                        \
  VEXO_UI_EVENT(XEleBase, SetFont, 38, ())                                        \
  VEXO_UI_EVENT(XEleBase, EventKeyDown, 39, (UINT, LPARAM))                       \
  VEXO_UI_EVENT(XEleBase, EventKeyUp, 40, (UINT, LPARAM))                         \
  VEXO_UI_EVENT(XEleBase, EventChar, 41, (UINT, LPARAM))                          \
  VEXO_UI_EVENT(XEleBase, SetCapture, 51, ())                                     \
  VEXO_UI_EVENT(XEleBase, KillCapture, 52, ())                                    \
  VEXO_UI_EVENT(XEleBase, SetCursor, 53, (UINT, LPARAM))                          \
  VEXO_UI_EVENT(XEleBase, MenuPopup, 57, (HMENUX))                                \
  VEXO_UI_EVENT(XEleBase, MenuPopupWnd, 58, (HMENUX, menu_popupWnd_*))            \
  VEXO_UI_EVENT(XEleBase, MenuSelect, 59, (int))                                  \
  VEXO_UI_EVENT(XEleBase, MenuDrawBackground, 60, (HDRAW, menu_drawBackground_*)) \
  VEXO_UI_EVENT(XEleBase, MenuDrawItem, 61, (HDRAW, menu_drawItem_*))             \
  VEXO_UI_EVENT(XEleBase, MenuExit, 62, ())                                       \
  VEXO_UI_EVENT(XEleBase, DropFiles, 250, (HDROP))                                \
  VEXO_UI_EVENT(XEleBase, AdjustLayoutEnd, 18, (int, UINT))

// Button: click and check.
#define VEXO_UI_XCANN_EVENTS(VEXO_UI_EVENT) \
  VEXO_UI_EVENT(xcann, BtnClick, 34, ())    \
  VEXO_UI_EVENT(xcann, ButtonCheck, 35, (int))

// Progress bar: position changed.
#define VEXO_UI_JINDUTIAO_EVENTS(VEXO_UI_EVENT) VEXO_UI_EVENT(rg_XuanCaiJinDuTiao, ProgressBarChange, 64, (int))

// Scroll view: horizontal and vertical scrolling.
#define VEXO_UI_GUNDONGSHITU_EVENTS(VEXO_UI_EVENT)                    \
  VEXO_UI_EVENT(rg_XuanCaiGunDongShiTu, ScrollViewScrollH, 54, (int)) \
  VEXO_UI_EVENT(rg_XuanCaiGunDongShiTu, ScrollViewScrollV, 55, (int))

// Edit box (after the scroll view's): six edit events.
#define VEXO_UI_BIANJIKUANG_EVENTS(VEXO_UI_EVENT)                     \
  VEXO_UI_EVENT(rg_XuanCaiBianJiKuang, EditSet, 180, ())              \
  VEXO_UI_EVENT(rg_XuanCaiBianJiKuang, EditChanged, 182, ())          \
  VEXO_UI_EVENT(rg_XuanCaiBianJiKuang, EditPosChanged, 183, (int))    \
  VEXO_UI_EVENT(rg_XuanCaiBianJiKuang, EditStyleChanged, 184, (int))  \
  VEXO_UI_EVENT(rg_XuanCaiBianJiKuang, EditEnterGetTabAlign, 185, ()) \
  VEXO_UI_EVENT(rg_XuanCaiBianJiKuang, EditSwpaRow, 186, (int, int))
