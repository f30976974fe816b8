// The user-application classes: CPelUserApp and the program and window-program classes derived from it.
#pragma once

#include "runtime/class_family.h"
#include "runtime/pel_object.h"
#include "runtime/win/windows_api.h"

// A null-terminated list of class records, owned by whoever returns it and never freed.
using ClassRecordList = const ClassInfo* const*;

// Base of every user application; the host creates one from the startup class's record.
class CPelUserApp : public CPelObject {
  PEL_OBJECT_CLASS(CPelUserApp, CPelObject, "CPelUserApp")

  // Slot 18: the records of the boxed value classes; null here.
  virtual ClassRecordList ListBasicClasses() const;
};

namespace rg_Pelor_JiBen {

// Program class.
class rg_ChengXuLei : public CPelUserApp {
  PEL_OBJECT_CLASS(rg_ChengXuLei, CPelUserApp, "rg_Pelor_JiBen::rg_ChengXuLei")

  // Slot 18: the boxed value classes' records, in their fixed order; never null.
  ClassRecordList ListBasicClasses() const override;
};

// Window-program class: a program with message, idle and exit hooks.
class rg_ChuangKouChengXuLei : public rg_ChengXuLei {
  PEL_OBJECT_CLASS(rg_ChuangKouChengXuLei, rg_ChengXuLei, "rg_Pelor_JiBen::rg_ChuangKouChengXuLei")

  // Slot 19: looks at a message before it is dispatched; 1 lets it through, 0 consumes it. Default 1.
  virtual int PreFilterMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam, MSG* record);
  // Slot 20: idle time of the message loop, in milliseconds since idling began; returns whether more
  // idle calls are wanted. Default 0.
  virtual int OnIdleTime(DWORD idle_milliseconds);
  // Slot 21: the program is ending; nothing by default.
  virtual void OnExit();
};

}  // namespace rg_Pelor_JiBen
