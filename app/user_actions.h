// The installer's reactions to its buttons: rg_XCGUIH with the one click handler for all of them.
#pragma once

#include <cstdint>

#include "runtime/boxed_values.h"
#include "runtime/class_family.h"
#include "runtime/counted_ref.h"
#include "runtime/pel_object.h"
#include "runtime/pel_object_pointer.h"
#include "ui/handle_cast.h"

namespace rg_Pelor_ChengXu {

// One instance lives in the startup object. It binds the click adapter to the install, browse, launch and
// retry buttons and the close guard to the main window's close event.
class rg_XCGUIH : public CPelObject {
  PEL_OBJECT_CLASS(rg_XCGUIH, CPelObject, "rg_Pelor_ChengXu::rg_XCGUIH")

  // Creates the owner reference and binds the handlers with it (user value 0).
  rg_XCGUIH();
  // A new instance with an owner reference and bindings of its own.
  rg_XCGUIH(const rg_XCGUIH& other);
  rg_XCGUIH& operator=(const rg_XCGUIH& other);
  // Empties the owner reference, so the handlers are no longer called, and releases it.
  ~rg_XCGUIH() override;

  // Tells the buttons apart by identity: browse opens the folder dialog and takes a chosen folder; install
  // and retry switch to the progress page and start the worker; launch starts the installed client and
  // closes the window. Any other sender does nothing. Always 0.
  std::int32_t OnButtonClick(CPelObject* sender);

 protected:
  bool HasEqualFields(const rg_XCGUIH& other) const { return CPelObject::HasEqualFields(other); }

 private:
  // The handler bound to the click slots: calls OnButtonClick of its owner with the source.
  static std::int32_t ClickAdapter(CPelObject* owner, CPelObject* source, std::uint32_t user_value,
                                   XCGUIDATA element, rg_Pelor_JiBen::rg_LuoJiXingLei* handled);
  void BindHandlers();

  vexo::CountedRef<CPelObjectPointer> self_;
};

// The install folder for a folder chosen in the dialog: the folder with a backslash appended unless it
// already ends in one (a drive root).
CWString ChosenInstallFolder(const CWString& chosen);

}  // namespace rg_Pelor_ChengXu
