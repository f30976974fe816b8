// The installer's startup class, rg_QiDongLei: the user application whose Start runs the installer.
#pragma once

#include "runtime/class_family.h"
#include "runtime/user_app.h"

namespace rg_Pelor_ChengXu {

class rg_QiDongLei : public rg_Pelor_JiBen::rg_ChuangKouChengXuLei {
  PEL_OBJECT_CLASS(rg_QiDongLei, rg_Pelor_JiBen::rg_ChuangKouChengXuLei, "rg_Pelor_ChengXu::rg_QiDongLei")

  // The installer's main line; ends the process and never returns.
  [[noreturn]] void Start();
};

}  // namespace rg_Pelor_ChengXu
