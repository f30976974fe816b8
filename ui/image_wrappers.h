// Wrappers of the UI library's images and drawing contexts: rg_guibase, rg_XuanCaiTuPian, rg_XuanCaiHuiTu.
#pragma once

#include <cstdint>

#include "runtime/class_family.h"
#include "runtime/pel_object.h"
#include "ui/shared_handle.h"

namespace rg_xc_gui {

// Base of the image and drawing wrappers; adds nothing to the object base.
class rg_guibase : public CPelObject {
  PEL_OBJECT_CLASS(rg_guibase, CPelObject, "rg_xc_gui::rg_guibase")
};

}  // namespace rg_xc_gui

namespace vexo::ui {

// What the image and drawing wrappers share: a holder of Payload that copies share (see SharedHandle),
// and the two operations on its handle. Not a registered class: identity passes on to rg_guibase. The
// library's image or drawing context is never released by a wrapper.
template <class Payload>
class GuiHandleObject : public rg_xc_gui::rg_guibase {
 public:
  // Slot 18: the holder's handle.
  virtual XCGUIDATA GetHandle() const { return holder_.Get(); }
  // Slot 19: stores a non-zero `handle` into the holder (every sharer sees it) and returns 1; handle 0
  // returns 0 and changes nothing (Reset is the way back to 0).
  virtual std::int32_t SetHandle(XCGUIDATA handle) {
    if (handle == 0) return 0;
    holder_.Set(handle);
    return 1;
  }
  // The shared holder, for counting its sharers.
  const typename SharedHandle<Payload>::Holder& GetHolder() const { return holder_.GetHolder(); }

 protected:
  // Equal only when sharing the holder.
  bool HasEqualFields(const GuiHandleObject& other) const {
    return rg_guibase::HasEqualFields(other) && holder_.Shares(other.holder_);
  }

 private:
  SharedHandle<Payload> holder_;
};

}  // namespace vexo::ui

namespace rg_xc_gui {

// An image of the UI library.
class rg_XuanCaiTuPian : public vexo::ui::GuiHandleObject<CXImage> {
  PEL_OBJECT_CLASS(rg_XuanCaiTuPian, vexo::ui::GuiHandleObject<CXImage>, "rg_xc_gui::rg_XuanCaiTuPian")

  // The holder's handle as the library's image type.
  HIMAGE GetImage() const { return vexo::ui::HandleCast<HIMAGE>(GetHandle()); }

  // Decodes the program's raw data resource `id` with the UI library and makes it this wrapper's image
  // (replacing the handle in the shared holder). 1 on success; 0 with the handle unchanged when the
  // resource is missing or the library cannot decode it. The library keeps the image until it exits.
  std::int32_t LoadFromResource(std::int32_t id);
  // Starts the library decoding the raw data resource `id` on a thread of its own, so that a later
  // LoadFromResource(id) finds the image ready (any thread, also before the library starts). 1 when it
  // started; 0 when the resource is missing or the library could not start it (LoadFromResource then
  // decodes as usual).
  static std::int32_t DecodeResourceAhead(std::int32_t id);
};

// A drawing context of the UI library, handed to draw-event handlers; valid only during that event.
class rg_XuanCaiHuiTu : public vexo::ui::GuiHandleObject<CXHDRAW> {
  PEL_OBJECT_CLASS(rg_XuanCaiHuiTu, vexo::ui::GuiHandleObject<CXHDRAW>, "rg_xc_gui::rg_XuanCaiHuiTu")

  // The holder's handle as the library's drawing type.
  HDRAW GetDraw() const { return vexo::ui::HandleCast<HDRAW>(GetHandle()); }
};

}  // namespace rg_xc_gui
