// The records handed to the UI library's event registration: the binding record's common part and the
// event record, with the release rules and the tracking that keeps a binding from reaching a dead wrapper.
#pragma once

#include <cstddef>
#include <cstdint>

#include "xcgui/xcgui.h"

namespace rg_xc_gui {
class rg_xcbase;
}

namespace vexo::ui {

// The part of every binding record (bind_event_cpp_) that does not depend on its kind: the virtual table
// and the target wrapper; the kind adds its member designation (two words: 8 bytes in the 32-bit program). Created with the global operator
// new and freed, without any call on it, by FreeBinding. Every live binding is tracked, so that a wrapper
// that ends can empty the target of the bindings the library still keeps (ForgetTarget).
class BindingRecord : public bind_event_cpp {
 public:
  BindingRecord(const BindingRecord&) = delete;
  BindingRecord& operator=(const BindingRecord&) = delete;

  // 1 when `other` designates the same target and a member designation of the same size and bytes.
  int Equals(bind_event_cpp* other) override;
  // The target wrapper; null once it has ended.
  void* GetThis() override { return target_; }

 protected:
  // Tracks the new record (std::bad_alloc when that fails; nothing is tracked then).
  explicit BindingRecord(rg_xc_gui::rg_xcbase* target);
  ~BindingRecord() = default;

  rg_xc_gui::rg_xcbase* target() const { return target_; }

 private:
  friend void FreeBinding(BindingRecord* binding);
  friend void ForgetTarget(const rg_xc_gui::rg_xcbase* target);
  friend std::size_t CountBindingsOf(const rg_xc_gui::rg_xcbase* target);

  rg_xc_gui::rg_xcbase* target_;
};

// Stops tracking `binding` and frees its memory (no call on it); null is ignored.
void FreeBinding(BindingRecord* binding);
// Empties the target of every live binding of `target`, so that the library's later calls on them do
// nothing and return 0. Called when a wrapper ends.
void ForgetTarget(const rg_xc_gui::rg_xcbase* target);
// How many live bindings (registered, or about to be) designate `target`.
std::size_t CountBindingsOf(const rg_xc_gui::rg_xcbase* target);

// The event record (276 bytes, global operator new). It owns its binding record and its extra object;
// xc_event_free releases all three. Whoever holds the record releases it exactly once: the library from
// the moment a registration accepts it, the binder otherwise.
class EventRecord final : public xc_event {
 public:
  // Size of the handler name field, terminator included.
  static constexpr std::size_t kNameSize = sizeof(handler_name);

  // A record in `mode` (1 register, -1 remove) with no binding, no extra object and the handler name
  // `name` (null: empty), cut to kNameSize - 1 bytes.
  EventRecord(int mode, const char* name);
  EventRecord(const EventRecord&) = delete;
  EventRecord& operator=(const EventRecord&) = delete;

  // Frees the binding record (no call on it), deletes the extra object (DeleteSelf(1)), then the record.
  void xc_event_free() override;

 private:
  ~EventRecord() = default;
};

static_assert(sizeof(void*) != 4 || sizeof(EventRecord) == 276, "event record layout");

}  // namespace vexo::ui
