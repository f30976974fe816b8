// The roots of the handle-holding wrappers: rg_xcbase (the shared handle holder and the member handler
// every event binding calls), xcguibase, widgetUI and XWidget.
#pragma once

#include <cstdint>
#include <type_traits>

#include "runtime/class_family.h"
#include "runtime/pel_object.h"
#include "ui/event_values.h"
#include "ui/handle_cast.h"
#include "ui/shared_handle.h"

namespace rg_xc_gui {

// Holds one UI library handle in a holder that copies share: a clone or a CopyFrom shares it, Reset takes
// a fresh one (handle 0), and equality needs the same holder (two holders with the same handle are not
// equal). Every operation reads the handle at the time of the call; a wrapper with handle 0 passes 0 to
// the library. Ending a wrapper never destroys the library object; it does empty the target of the
// bindings it registered, so that the library's later calls on them do nothing.
class rg_xcbase : public CPelObject {
  PEL_OBJECT_CLASS(rg_xcbase, CPelObject, "rg_xc_gui::rg_xcbase")

  using Holder = vexo::ui::SharedHandle<XCGUIDATA>::Holder;

  // A fresh holder with handle 0.
  rg_xcbase() = default;
  // Shares `other`'s holder.
  rg_xcbase(const rg_xcbase& other) = default;
  // Copies the flags and reserved words and shares `other`'s holder.
  rg_xcbase& operator=(const rg_xcbase& other) = default;
  ~rg_xcbase() override;

  // Stores `handle` into the shared holder; every wrapper sharing it sees it.
  void AttachHandle(HXCGUI handle) { holder_.Set(vexo::ui::HandleData(handle)); }
  // The holder's handle now.
  HXCGUI GetObjectHandle() const { return vexo::ui::HandleCast<HXCGUI>(holder_.Get()); }
  // The holder's handle as the untyped word.
  XCGUIDATA GetHandleData() const { return holder_.Get(); }
  // The shared holder, for counting its sharers; owned by them.
  const Holder& GetHolder() const { return holder_.GetHolder(); }

  // The member handler that the bindings of the event tables call, one instance per row: `kSlot` is the
  // row's slot in `Wrapper`, Values the library's event values. Element events (Handle HELE) first store
  // the element into the holder; window events leave it alone. Then the slot is raised with this wrapper
  // as source (see vexo::ui::RaiseEvent). Always 0.
  template <class Wrapper, auto kSlot, class Handle, class... Values>
  std::int32_t OnEvent(Handle handle, Values... values, BOOL* handled) {
    static_assert(std::is_base_of_v<rg_xcbase, Wrapper>, "slots live in wrappers");
    if constexpr (std::is_same_v<Handle, HELE>) holder_.Set(vexo::ui::HandleData(handle));
    auto* wrapper = static_cast<Wrapper*>(this);
    return vexo::ui::RaiseEvent<Values...>(wrapper->*kSlot, wrapper, vexo::ui::HandleData(handle), handled, values...);
  }

 protected:
  // The holder's handle as the library type Handle.
  template <class Handle>
  Handle GetHandleAs() const {
    return vexo::ui::HandleCast<Handle>(holder_.Get());
  }
  // Stores a handle a create call returned (0 as well) and returns it.
  template <class Handle>
  Handle StoreCreated(Handle handle) {
    holder_.Set(vexo::ui::HandleData(handle));
    return handle;
  }

  bool HasEqualFields(const rg_xcbase& other) const {
    return CPelObject::HasEqualFields(other) && holder_.Shares(other.holder_);
  }

 private:
  vexo::ui::SharedHandle<XCGUIDATA> holder_;
};

// Any library object.
class xcguibase : public rg_xcbase {
  PEL_OBJECT_CLASS(xcguibase, rg_xcbase, "rg_xc_gui::xcguibase")
};

// A window or a widget.
class widgetUI : public xcguibase {
  PEL_OBJECT_CLASS(widgetUI, xcguibase, "rg_xc_gui::widgetUI")

  // Slot 18: registers with the library the events whose slots have a handler with a living owner;
  // nothing here (no events).
  virtual void RegisterAllEvents() {}
};

// A widget inside a window: an element or a shape.
class XWidget : public widgetUI {
  PEL_OBJECT_CLASS(XWidget, widgetUI, "rg_xc_gui::XWidget")

  // Slot 19: XWidget_IsShow.
  virtual BOOL IsShow() { return XWidget_IsShow(GetObjectHandle()); }

  // XWidget_Show: shows or hides the widget with everything inside it.
  BOOL Show(BOOL show) { return XWidget_Show(GetObjectHandle(), show); }
};

}  // namespace rg_xc_gui
