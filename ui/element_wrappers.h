// Wrappers of the UI library's elements (XEleBase and its subclasses, with their event slots) and shapes.
#pragma once

#include <cstdint>

#include "runtime/class_family.h"
#include "runtime/w_string.h"
#include "ui/element_events.h"
#include "ui/event_rows.h"
#include "ui/image_wrappers.h"
#include "ui/wrapper_base.h"

namespace rg_xc_gui {

// An element: 37 event slots. Element events store the raising element's handle into the holder before
// the slot is raised.
class XEleBase : public XWidget {
  PEL_OBJECT_CLASS(XEleBase, XWidget, "rg_xc_gui::XEleBase")
  // Slots 18, 20, 21: RegisterAllEvents, RegisterEvent, UnregisterEvent (ids outside the table are
  // ignored). None reports a result.
  VEXO_UI_FIRST_EVENT_OPERATIONS(XEleBase, HELE)

 public:
  // Slot 22: XEle_DrawEle with the drawing wrapper's handle.
  virtual BOOL DrawEle(const rg_XuanCaiHuiTu& drawing) { return XEle_DrawEle(GetElementHandle(), drawing.GetDraw()); }
  // Slot 23: XEle_GetStateFlags.
  virtual int GetStateFlags() { return XEle_GetStateFlags(GetElementHandle()); }
  // Slot 24: XEle_IsEnable.
  virtual BOOL IsEnable() { return XEle_IsEnable(GetElementHandle()); }

  // The holder's handle as an element.
  HELE GetElementHandle() const { return GetHandleAs<HELE>(); }

  // Library calls with the holder's handle; each returns the library's result.
  // XEle_SetPosition: moves the element to (x, y) in its parent.
  BOOL SetPosition(int x, int y, BOOL redraw, int flags, UINT adjust_number) {
    return XEle_SetPosition(GetElementHandle(), x, y, redraw, flags, adjust_number);
  }
  BOOL EnableDrawBorder(BOOL enable) { return XEle_EnableDrawBorder(GetElementHandle(), enable); }
  BOOL EnableBkTransparent(BOOL enable) { return XEle_EnableBkTransparent(GetElementHandle(), enable); }
  BOOL EnableDrawFocus(BOOL enable) { return XEle_EnableDrawFocus(GetElementHandle(), enable); }
  // XEle_AddBkImage with the image wrapper's handle, for the state flags `state` (16, 32, 64).
  BOOL AddBkImage(int state, const rg_XuanCaiTuPian& image) {
    return XEle_AddBkImage(GetElementHandle(), state, image.GetImage());
  }
  // XEle_Redraw: at once when `immediate`, otherwise with the next paint.
  BOOL Redraw(BOOL immediate) { return XEle_Redraw(GetElementHandle(), immediate); }

  VEXO_UI_XELEBASE_EVENTS(VEXO_UI_DECLARE_EVENT_SLOT)
};

// A basic element (the installer's pages).
class rg_JiChuYuanSu : public XEleBase {
  PEL_OBJECT_CLASS(rg_JiChuYuanSu, XEleBase, "rg_xc_gui::rg_JiChuYuanSu")

  // Slot 25: XEle_Create inside `parent`; the new handle (0 on failure) is stored and returned.
  virtual HELE Create(int x, int y, int width, int height, HXCGUI parent) {
    return StoreCreated(XEle_Create(x, y, width, height, parent));
  }
};

// A button: click and check slots.
class xcann : public XEleBase {
  PEL_OBJECT_CLASS(xcann, XEleBase, "rg_xc_gui::xcann")
  VEXO_UI_EVENT_OPERATIONS(xcann, XEleBase, HELE)

 public:
  // Slot 25: XBtn_Create inside `parent` with `caption` (an empty text passes an empty string); the new
  // handle (0 on failure) is stored and returned.
  virtual HELE Create(int x, int y, int width, int height, const CWString& caption, HXCGUI parent) {
    return StoreCreated(XBtn_Create(x, y, width, height, caption.GetText(), parent));
  }

  VEXO_UI_XCANN_EVENTS(VEXO_UI_DECLARE_EVENT_SLOT)
};

// A progress bar: position-changed slot.
class rg_XuanCaiJinDuTiao : public XEleBase {
  PEL_OBJECT_CLASS(rg_XuanCaiJinDuTiao, XEleBase, "rg_xc_gui::rg_XuanCaiJinDuTiao")
  VEXO_UI_EVENT_OPERATIONS(rg_XuanCaiJinDuTiao, XEleBase, HELE)

 public:
  // XProgBar_SetPos (the library clamps to 0..100) and XProgBar_GetPos.
  BOOL SetPos(int position) { return XProgBar_SetPos(GetElementHandle(), position); }
  int GetPos() { return XProgBar_GetPos(GetElementHandle()); }

  VEXO_UI_JINDUTIAO_EVENTS(VEXO_UI_DECLARE_EVENT_SLOT)
};

// A scroll view: horizontal and vertical scroll slots.
class rg_XuanCaiGunDongShiTu : public XEleBase {
  PEL_OBJECT_CLASS(rg_XuanCaiGunDongShiTu, XEleBase, "rg_xc_gui::rg_XuanCaiGunDongShiTu")
  VEXO_UI_EVENT_OPERATIONS(rg_XuanCaiGunDongShiTu, XEleBase, HELE)

 public:
  // Slot 25: XSView_Create inside `parent`; the new handle (0 on failure) is stored and returned.
  virtual HELE Create(int x, int y, int width, int height, HXCGUI parent) {
    return StoreCreated(XSView_Create(x, y, width, height, parent));
  }

  VEXO_UI_GUNDONGSHITU_EVENTS(VEXO_UI_DECLARE_EVENT_SLOT)
};

// An edit box: six edit slots after the scroll view's; other ids go to the scroll view, then XEleBase.
class rg_XuanCaiBianJiKuang : public rg_XuanCaiGunDongShiTu {
  PEL_OBJECT_CLASS(rg_XuanCaiBianJiKuang, rg_XuanCaiGunDongShiTu, "rg_xc_gui::rg_XuanCaiBianJiKuang")
  VEXO_UI_EVENT_OPERATIONS(rg_XuanCaiBianJiKuang, rg_XuanCaiGunDongShiTu, HELE)

 public:
  // Slot 25: XEdit_Create inside `parent`; the new handle (0 on failure) is stored and returned.
  HELE Create(int x, int y, int width, int height, HXCGUI parent) override {
    return StoreCreated(XEdit_Create(x, y, width, height, parent));
  }
  // XEdit_SetText.
  BOOL SetText(const CWString& text) { return XEdit_SetText(GetElementHandle(), text.GetText()); }

  VEXO_UI_BIANJIKUANG_EVENTS(VEXO_UI_DECLARE_EVENT_SLOT)
};

// A shape (no events).
class rg_XingZhuangJiLei : public XWidget {
  PEL_OBJECT_CLASS(rg_XingZhuangJiLei, XWidget, "rg_xc_gui::rg_XingZhuangJiLei")
};

// A picture shape.
class rg_XingZhuangTuPian : public rg_XingZhuangJiLei {
  PEL_OBJECT_CLASS(rg_XingZhuangTuPian, rg_XingZhuangJiLei, "rg_xc_gui::rg_XingZhuangTuPian")

  // XShapePic_SetImage with the image wrapper's handle.
  BOOL SetImage(const rg_XuanCaiTuPian& image) { return XShapePic_SetImage(GetObjectHandle(), image.GetImage()); }
};

// A text shape.
class rg_XingZhuangWenBen : public rg_XingZhuangJiLei {
  PEL_OBJECT_CLASS(rg_XingZhuangWenBen, rg_XingZhuangJiLei, "rg_xc_gui::rg_XingZhuangWenBen")

  // XShapeText_SetText.
  BOOL SetText(const CWString& text) { return XShapeText_SetText(GetObjectHandle(), text.GetText()); }
};

}  // namespace rg_xc_gui
