// The installer's startup class, rg_QiDongLei: the user application whose Start runs the installer.
#pragma once

#include "app/installer_state.h"
#include "app/user_actions.h"
#include "runtime/class_family.h"
#include "runtime/user_app.h"

namespace rg_Pelor_ChengXu {

class rg_QiDongLei : public rg_Pelor_JiBen::rg_ChuangKouChengXuLei {
  PEL_OBJECT_CLASS(rg_QiDongLei, rg_Pelor_JiBen::rg_ChuangKouChengXuLei, "rg_Pelor_ChengXu::rg_QiDongLei")

  rg_QiDongLei() = default;
  rg_QiDongLei(const rg_QiDongLei&) = default;
  rg_QiDongLei& operator=(const rg_QiDongLei&) = default;

  // The installer's main line: stages the UI archive, starts the UI library, builds the window, works out
  // the install folders, runs the message loop until the window closes, and ends the process with code 0.
  [[noreturn]] void Start();

  // The two members read and write the stream in order, each only while the stream reports no error.
  void LoadFrom(vexo::BinaryStream& stream) override;
  void SaveTo(vexo::BinaryStream& stream) const override;

 protected:
  bool HasEqualFields(const rg_QiDongLei& other) const {
    return rg_ChuangKouChengXuLei::HasEqualFields(other) && global_.IsEqual(other.global_) &&
           handlers_.IsEqual(other.handlers_);
  }

 private:
  rg_Global global_;
  rg_XCGUIH handlers_;
};

}  // namespace rg_Pelor_ChengXu
