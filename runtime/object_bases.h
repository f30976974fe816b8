// Intermediate bases of the class tree: the boxed-value base, the extended object base and the structure base.
#pragma once

#include "runtime/class_family.h"
#include "runtime/pel_object.h"

// Base of the boxed values. Adds slot 18, GetValueAddress.
class CPelBaseDataType : public CPelObject {
  PEL_OBJECT_CLASS(CPelBaseDataType, CPelObject, "CPelBaseDataType")

  // Slot 18: the address of the boxed value, owned by the object; null here (no value).
  virtual void* GetValueAddress();
};

namespace rg_Pelor_JiBen {

// Extended object base: base of the text array, the integer array and the web response class.
class rg_KuoZhanDuiXiangLei : public CPelObject {
  PEL_OBJECT_CLASS(rg_KuoZhanDuiXiangLei, CPelObject, "rg_Pelor_JiBen::rg_KuoZhanDuiXiangLei")
};

// Structure base: base of the plain record classes of the UI layer.
class rg_JieGouJiChuLei : public CPelObject {
  PEL_OBJECT_CLASS(rg_JieGouJiChuLei, CPelObject, "rg_Pelor_JiBen::rg_JieGouJiChuLei")
};

}  // namespace rg_Pelor_JiBen
