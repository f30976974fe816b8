// Binding kinds (bind_event_cpp_), the dispatch of the library's calls to a wrapper's member handler, and
// the binder that registers or removes a binding with the UI library.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <tuple>
#include <utility>

#include "ui/event_record.h"
#include "ui/handle_cast.h"
#include "xcgui/xcgui.h"

namespace vexo::ui {

// The parts of a member handler's type R (Class::*)(Handle, values..., BOOL* handled).
template <class Member>
struct MemberSignature;
template <class R, class Class, class... Parameters>
struct MemberSignature<R (Class::*)(Parameters...)> {
  static_assert(sizeof...(Parameters) >= 2, "a handle, the event values and the handled flag");
  // Parameter `index`: 0 the handle, 1.. the event values.
  template <std::size_t index>
  using Parameter = std::tuple_element_t<index, std::tuple<Parameters...>>;
  using Handle = Parameter<0>;
  static constexpr std::size_t kValueCount = sizeof...(Parameters) - 2;
};

// Which words of the library's call (0 the handle, 1 e1, 2 e2, 3 e3) become the member handler's
// arguments before the handled flag: [number of event values][flag set][argument]. With three values and
// flag 0 there is no call (see bind_event_cpp_).
inline constexpr int kArgumentWords[4][2][4] = {
    {{2}, {0}},
    {{2, 3}, {0, 2}},
    {{1, 2, 3}, {0, 2, 3}},
    {{}, {0, 1, 2, 3}},
};

// The library's register and remove functions for a handle type.
template <class Handle>
struct EventFunctions;
template <>
struct EventFunctions<HELE> {
  static BOOL Register(HELE element, int id, xc_event* record) { return _XEle_RegEvent(element, id, record); }
  static BOOL Remove(HELE element, int id, xc_event* record) { return _XEle_RemoveEvent(element, id, record); }
};
template <>
struct EventFunctions<HWINDOW> {
  static BOOL Register(HWINDOW window, int id, xc_event* record) { return _XWnd_RegEvent(window, id, record); }
  static BOOL Remove(HWINDOW window, int id, xc_event* record) { return _XWnd_RemoveEvent(window, id, record); }
};

}  // namespace vexo::ui

// A binding kind: calls the member handler `Member` of a `Class` wrapper. Four words (16 bytes in the 32-bit
// program): virtual table, target, and the two-word member designation (code address, this-adjustment; the
// adjustment is 0 for every handler of this layer). One instance per pair of wrapper class and handler
// signature.
template <class R, class Class, class Member>
class bind_event_cpp_ final : public vexo::ui::BindingRecord {
  using Signature = vexo::ui::MemberSignature<Member>;
  static constexpr std::size_t kValueCount = Signature::kValueCount;

 public:
  // Tracks the new record (see BindingRecord).
  bind_event_cpp_(Class* target, Member member) : BindingRecord(target), member_(member) {}

  // Stores the member designation's size (two words) in *size and returns the designation.
  void* GetMemberFunction(int* size) override {
    *size = static_cast<int>(sizeof(member_));
    return &member_;
  }
  // The two call operations: the member handler with the words the dispatch table picks; its result.
  int HandleEvent_cpp_Call(HELE element, vint flag, vint e1, vint e2, vint e3, BOOL* handled) override {
    return Dispatch(vexo::ui::ToEventWord(element), flag, e1, e2, e3, handled);
  }
  int HandleEvent_cpp_Call(HWINDOW window, vint flag, vint e1, vint e2, vint e3, BOOL* handled) override {
    return Dispatch(vexo::ui::ToEventWord(window), flag, e1, e2, e3, handled);
  }

 private:
  // 0 without a call when the target wrapper has ended, or (after a message box) for flag 0 with three
  // event values.
  R Dispatch(vint handle, vint flag, vint e1, vint e2, vint e3, BOOL* handled) {
    if (target() == nullptr) return 0;
    const vint words[4] = {handle, e1, e2, e3};
    constexpr auto kArguments = std::make_index_sequence<kValueCount + 1>();
    if (flag != 0) return CallMember<1>(words, handled, kArguments);
    if constexpr (kValueCount == 3) {
      ::MessageBoxA(nullptr, "HandleEvent_cpp_Call a5", "error", MB_OK);
      return 0;
    } else {
      return CallMember<0>(words, handled, kArguments);
    }
  }

  template <int kFlagSet, std::size_t... kArgument>
  R CallMember(const vint (&words)[4], BOOL* handled, std::index_sequence<kArgument...>) {
    Class* object = static_cast<Class*>(target());
    return (object->*member_)(vexo::ui::FromEventWord<typename Signature::template Parameter<kArgument>>(
                                  words[vexo::ui::kArgumentWords[kValueCount][kFlagSet][kArgument]])...,
                              handled);
  }

  Member member_;
};

namespace vexo::ui {

// Binds the member handler `member` of `target` for event `id` of the library object `handle` (an
// element or a window, after the handler's handle type), named `name` in the record (null: empty).
// Mode -1 removes: the library matches the record by Equals, the record is released here, and the
// library's result is returned. Any other mode registers: 1 when the library kept the record (it
// releases it later), 0 when it refused it (released here). std::bad_alloc when a record cannot be
// allocated; nothing is left allocated then.
template <class Class, class Member>
std::int32_t BindEventCpp(XCGUIDATA handle, std::int32_t id, std::int32_t mode, Class* target, const char* name,
                          Member member) {
  using Kind = bind_event_cpp_<std::int32_t, Class, Member>;
  using Functions = EventFunctions<typename MemberSignature<Member>::Handle>;
  static_assert(sizeof(Kind) == 4 * sizeof(void*), "virtual table, target, member designation");

  std::unique_ptr<BindingRecord, void (*)(BindingRecord*)> binding(new Kind(target, member), &FreeBinding);
  auto* record = new EventRecord(mode, name);
  record->binding = binding.release();

  const auto library_handle = HandleCast<typename MemberSignature<Member>::Handle>(handle);
  if (mode == -1) {
    const BOOL removed = Functions::Remove(library_handle, id, record);
    record->xc_event_free();
    return removed;
  }
  if (Functions::Register(library_handle, id, record)) return 1;
  record->xc_event_free();
  return 0;
}

}  // namespace vexo::ui
