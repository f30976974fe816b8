// The values UI events carry and what handlers receive for them: records become temporary value objects,
// everything else passes unchanged; and the raising of a wrapper's slot with them.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <cstdint>
#include <tuple>

#include "runtime/boxed_values.h"
#include "runtime/event_slot.h"
#include "runtime/int_array.h"
#include "ui/handle_cast.h"
#include "ui/image_wrappers.h"
#include "ui/structure_values.h"

// Library types of the menu events. Our UI library has no menus and never raises these events; the
// binding passes them through all the same.
typedef struct HMENUX__* HMENUX;
// Menu popup-window record: two 32-bit words.
struct menu_popupWnd_ {
  std::uint32_t words[2];
};
// Menu background-drawing record: three 32-bit words.
struct menu_drawBackground_ {
  std::uint32_t words[3];
};
// Menu item-drawing record: 40 bytes.
struct menu_drawItem_ {
  std::uint8_t bytes[40];
};

namespace vexo::ui {

// The value object a record pointer becomes, for the records that have one.
template <class Record>
struct RecordValueOf {};
template <>
struct RecordValueOf<tagPOINT> {
  using type = rg_xc_gui::rg_ZuoBiao_xc;
};
template <>
struct RecordValueOf<tagSIZE> {
  using type = rg_xc_gui::rg_CheCun_xc;
};
template <>
struct RecordValueOf<menu_popupWnd_> {
  using type = rg_xc_gui::rg_CaiChan_DanChuChuangKouJieGou;
};
template <>
struct RecordValueOf<menu_drawBackground_> {
  using type = rg_xc_gui::rg_CaiChan_HuiZhiBeiJingJieGou;
};
template <>
struct RecordValueOf<menu_drawItem_> {
  using type = rg_xc_gui::rg_CaiChan_HuiZhiXiangJieGou;
};

// What the handler receives for a library event value of type T, made from the value and living for one
// handler call. `Type` is the handler's parameter type and Get() the argument. By default the value
// passes unchanged (integers and handles).
template <class T, class = void>
class EventValue {
 public:
  using Type = T;
  explicit EventValue(T value) : value_(value) {}
  Type Get() const { return value_; }

 private:
  T value_;
};

// A record pointer: a value object holding a copy of the record (all zero for a null pointer); changes
// are not written back.
template <class Record>
class EventValue<Record*, std::void_t<typename RecordValueOf<Record>::type>> {
 public:
  using Value = typename RecordValueOf<Record>::type;
  using Type = Value*;
  static_assert(sizeof(Record) >= Value::kSize, "the value copies the record's leading bytes");
  explicit EventValue(Record* record) : value_(Value::CopyOf(record)) {}
  Type Get() { return &value_; }

 private:
  Value value_;
};

// A drawing context: a drawing wrapper whose holder carries the handle (0 stays 0). Ending it never frees
// the library's drawing context.
template <>
class EventValue<HDRAW> {
 public:
  using Type = rg_xc_gui::rg_XuanCaiHuiTu*;
  explicit EventValue(HDRAW draw) { drawing_.SetHandle(HandleData(draw)); }
  Type Get() { return &drawing_; }

 private:
  rg_xc_gui::rg_XuanCaiHuiTu drawing_;
};

// The floating-window drag's window list: an integer array with a copy of the six window handles it points
// at (empty for a null pointer).
template <>
class EventValue<HWINDOW*> {
 public:
  using Type = rg_Pelor_JiBen::rg_BianZhengShuShuZuLei*;
  static constexpr int kWordCount = 6;
  explicit EventValue(HWINDOW* windows) {
    if (windows == nullptr) return;
    for (int i = 0; i < kWordCount; ++i) array_.Add(reinterpret_cast<std::intptr_t>(windows[i]));
  }
  Type Get() { return &array_; }

 private:
  rg_Pelor_JiBen::rg_BianZhengShuShuZuLei array_;
};

// The slot of an event whose library values are Values...: handlers are called as handler(owner, source
// wrapper, user value, handle, converted values..., handled object).
template <class... Values>
using EventSlotFor = CEventSlot<XCGUIDATA, typename EventValue<Values>::Type..., rg_Pelor_JiBen::rg_LuoJiXingLei*>;

// EventSlotFor over the parameter list of a function type void(Values...), as the event tables spell kinds.
template <class Kind>
struct EventSlotOfKind;
template <class... Values>
struct EventSlotOfKind<void(Values...)> {
  using type = EventSlotFor<Values...>;
};

// Raises `slot` for an event of the wrapper `source`: the handled object starts from *handled (FALSE when
// null), the values are converted, the bound handler (if any, while its owner lives) is called outside the
// slot's lock, and the handled object's final value is written back. Always 0, whatever the handler says.
template <class... Values>
std::int32_t RaiseEvent(const EventSlotFor<Values...>& slot, CPelObject* source, XCGUIDATA handle, BOOL* handled,
                        Values... values) {
  rg_Pelor_JiBen::rg_LuoJiXingLei handled_value(handled != nullptr ? *handled : FALSE);
  std::tuple<EventValue<Values>...> converted{values...};
  std::apply([&](auto&... value) { slot.Raise(source, handle, value.Get()..., &handled_value); }, converted);
  if (handled != nullptr) *handled = handled_value.GetValue();
  return 0;
}

}  // namespace vexo::ui
