// A handler for any wrapper slot that records what it was called with, in words a test can compare.
#pragma once

#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "runtime/boxed_values.h"
#include "runtime/event_slot.h"
#include "runtime/int_array.h"
#include "ui/event_values.h"

namespace vexo::ui_test {

// One call of a recording handler.
struct RaisedEvent {
  CPelObject* owner = nullptr;
  CPelObject* source = nullptr;
  std::uint32_t user_value = 0;
  XCGUIDATA handle = 0;
  // The converted values, each as "<kind> <content>", separated by "; ".
  std::string values;
  // The handled object's value when the handler was called.
  std::int32_t handled_in = 0;
};

// Every call of the recording handlers, in order; tests clear it.
std::vector<RaisedEvent>& RaisedEvents();
// What the next recording handler call sets the handled object to; -1: leaves it.
void SetHandledAnswer(std::int32_t answer);
std::int32_t HandledAnswer();

// The forms of the values a handler can receive.
std::string Describe(UINT value);
std::string Describe(int value);
std::string Describe(LPARAM value);
std::string Describe(HELE value);
std::string Describe(HWINDOW value);
std::string Describe(HWND value);
std::string Describe(HDROP value);
std::string Describe(HMENUX value);
std::string Describe(rg_xc_gui::rg_ZuoBiao_xc* value);
std::string Describe(rg_xc_gui::rg_CheCun_xc* value);
std::string Describe(rg_xc_gui::rg_CaiChan_DanChuChuangKouJieGou* value);
std::string Describe(rg_xc_gui::rg_CaiChan_HuiZhiBeiJingJieGou* value);
std::string Describe(rg_xc_gui::rg_CaiChan_HuiZhiXiangJieGou* value);
std::string Describe(rg_xc_gui::rg_XuanCaiHuiTu* value);
std::string Describe(rg_Pelor_JiBen::rg_BianZhengShuShuZuLei* value);

// The descriptions of the values of `all` = (handle, values..., handled), joined by "; ".
template <class Tuple, std::size_t... kValue>
std::string DescribeValues(const Tuple& all, std::index_sequence<kValue...>) {
  std::string text;
  ((text += (kValue == 0 ? "" : "; ") + Describe(std::get<kValue + 1>(all))), ...);
  return text;
}

// The recording handler of a slot whose arguments are (handle, values..., handled object).
template <class... SlotArgs>
std::int32_t RecordRaise(CPelObject* owner, CPelObject* source, std::uint32_t user_value, SlotArgs... args) {
  const std::tuple<SlotArgs...> all(args...);
  constexpr std::size_t kLast = sizeof...(SlotArgs) - 1;
  rg_Pelor_JiBen::rg_LuoJiXingLei* handled = std::get<kLast>(all);
  RaisedEvent event{owner,
                    source,
                    user_value,
                    std::get<0>(all),
                    DescribeValues(all, std::make_index_sequence<kLast - 1>()),
                    handled->GetValue()};
  if (HandledAnswer() >= 0) handled->SetValue(HandledAnswer());
  RaisedEvents().push_back(event);
  return 99;
}

// Binds the recording handler to `slot` with `owner` and `user_value`.
template <class... SlotArgs>
void BindRecorder(CEventSlot<SlotArgs...>& slot, CPelObjectPointer* owner, std::uint32_t user_value = 0) {
  slot.Bind(&RecordRaise<SlotArgs...>, owner, user_value);
}

}  // namespace vexo::ui_test
