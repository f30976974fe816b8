// The event tables as data: one row per event (id, handler name, binding kind, slot), the templates that
// make rows and serve RegisterEvent, UnregisterEvent and RegisterAllEvents from them, and the macros that
// declare a class's slots from its table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "runtime/event_slot.h"
#include "ui/event_binding.h"
#include "ui/event_values.h"

namespace vexo::ui {

// One event of a wrapper class's table.
template <class Wrapper>
struct EventRow {
  std::int32_t id;
  // Stored in the event record; also the member handler's name.
  const char* handler_name;
  // Registers (mode 1) or removes (mode -1) this row's binding for `wrapper`, with the handle its holder
  // has now; the binder's result.
  std::int32_t (*bind)(Wrapper& wrapper, std::int32_t id, std::int32_t mode, const char* handler_name);
  // Whether the row's slot has a handler whose owner lives.
  bool (*has_live_handler)(const Wrapper& wrapper);
};

// The rows of one class, in slot order.
template <class Wrapper>
struct EventTable {
  const EventRow<Wrapper>* rows;
  std::size_t count;

  template <std::size_t kCount>
  constexpr explicit EventTable(const EventRow<Wrapper> (&table)[kCount]) : rows(table), count(kCount) {}

  // The row of event `id`; null when the class does not know it.
  const EventRow<Wrapper>* Find(std::int32_t id) const {
    for (std::size_t i = 0; i < count; ++i) {
      if (rows[i].id == id) return &rows[i];
    }
    return nullptr;
  }
};

// The row of the slot `kSlot` of `Wrapper`, whose event carries the library values of the function type
// Kind = void(values...). Its binding kind is bind_event_cpp_<std::int32_t, Wrapper, member handler type>.
template <class Wrapper, auto kSlot, class Kind>
struct EventRowOf;
template <class Wrapper, auto kSlot, class... Values>
struct EventRowOf<Wrapper, kSlot, void(Values...)> {
  using Handle = typename Wrapper::EventHandle;
  using Member = std::int32_t (Wrapper::*)(Handle, Values..., BOOL*);

  static std::int32_t Bind(Wrapper& wrapper, std::int32_t id, std::int32_t mode, const char* handler_name) {
    const Member member = &Wrapper::template OnEvent<Wrapper, kSlot, Handle, Values...>;
    return BindEventCpp(wrapper.GetHandleData(), id, mode, &wrapper, handler_name, member);
  }
  static bool HasLiveHandler(const Wrapper& wrapper) { return (wrapper.*kSlot).HasLiveHandler(); }
  static constexpr EventRow<Wrapper> Make(std::int32_t id, const char* handler_name) {
    return {id, handler_name, &Bind, &HasLiveHandler};
  }
};

// RegisterEvent (mode 1) and UnregisterEvent (mode -1) of `Wrapper`: the row of `id` in its own table, or
// else the same operation of the class FallThrough (void: ids of no row are ignored).
template <class Wrapper, class FallThrough>
void BindEventRow(Wrapper& wrapper, std::int32_t id, std::int32_t mode) {
  if (const EventRow<Wrapper>* row = Wrapper::EventRows().Find(id)) {
    row->bind(wrapper, id, mode, row->handler_name);
  } else if constexpr (!std::is_void_v<FallThrough>) {
    if (mode == 1) {
      wrapper.FallThrough::RegisterEvent(id);
    } else {
      wrapper.FallThrough::UnregisterEvent(id);
    }
  }
}

// RegisterAllEvents of `Wrapper`: registers each row of its own table whose slot has a handler with a
// living owner, in table order, then does FallThrough's RegisterAllEvents (void: nothing more).
template <class Wrapper, class FallThrough>
void RegisterAllRows(Wrapper& wrapper) {
  const EventTable<Wrapper>& table = Wrapper::EventRows();
  for (std::size_t i = 0; i < table.count; ++i) {
    const EventRow<Wrapper>& row = table.rows[i];
    if (row.has_live_handler(wrapper)) row.bind(wrapper, row.id, 1, row.handler_name);
  }
  if constexpr (!std::is_void_v<FallThrough>) wrapper.FallThrough::RegisterAllEvents();
}

}  // namespace vexo::ui

// The tables are lists of VEXO_UI_EVENT(Class, Name, id, (values...)) entries (ui/element_events.h,
// ui/window_events.h). Name is the handler's name without "On"; the row's handler name is "&Class::OnName".

// Declares the slot of one entry and its accessor NameSlot(), in the class body.
#define VEXO_UI_DECLARE_EVENT_SLOT(Class, Name, id, values)                                     \
 public:                                                                                        \
  typename ::vexo::ui::EventSlotOfKind<void values>::type& Name##Slot() { return Name##Slot_; } \
                                                                                                \
 private:                                                                                       \
  ::vexo::UncopiedSlot<typename ::vexo::ui::EventSlotOfKind<void values>::type> Name##Slot_;

// The row of one entry, inside Class::EventRows().
#define VEXO_UI_EVENT_ROW(Class, Name, id, values) \
  ::vexo::ui::EventRowOf<Class, &Class::Name##Slot_, void values>::Make(id, "&" #Class "::On" #Name),

// The event operations of a wrapper class `Self` whose table adds to that of `FallThrough` (void for the
// first class with a table) and whose events come with handles of type `Handle` (HELE or HWINDOW):
// RegisterAllEvents, and RegisterEvent and UnregisterEvent, which the first class with a table introduces
// as new virtual operations and its subclasses override. The table itself is defined with
// VEXO_UI_DEFINE_EVENT_ROWS.
#define VEXO_UI_EVENT_OPERATIONS(Self, FallThrough, Handle) \
  VEXO_UI_EVENT_OPERATIONS_WITH(Self, FallThrough, Handle, , override)
#define VEXO_UI_FIRST_EVENT_OPERATIONS(Self, Handle) VEXO_UI_EVENT_OPERATIONS_WITH(Self, void, Handle, virtual, )
#define VEXO_UI_EVENT_OPERATIONS_WITH(Self, FallThrough, Handle, introduce, refine)                                   \
 public:                                                                                                              \
  using EventHandle = Handle;                                                                                         \
  static const ::vexo::ui::EventTable<Self>& EventRows();                                                             \
  void RegisterAllEvents() override { ::vexo::ui::RegisterAllRows<Self, FallThrough>(*this); }                        \
  introduce void RegisterEvent(std::int32_t id) refine { ::vexo::ui::BindEventRow<Self, FallThrough>(*this, id, 1); } \
  introduce void UnregisterEvent(std::int32_t id) refine { ::vexo::ui::BindEventRow<Self, FallThrough>(*this, id, -1); }

// Defines Self::EventRows() from the table list macro `TABLE`.
#define VEXO_UI_DEFINE_EVENT_ROWS(Self, TABLE)                                       \
  const ::vexo::ui::EventTable<Self>& Self::EventRows() {                            \
    static constexpr ::vexo::ui::EventRow<Self> rows[] = {TABLE(VEXO_UI_EVENT_ROW)}; \
    static constexpr ::vexo::ui::EventTable<Self> table(rows);                       \
    return table;                                                                    \
  }
