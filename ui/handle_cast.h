// The wrappers' untyped handle word and every conversion between it, the UI library's typed handles and
// the raw words of event calls.
#pragma once

#include <cstdint>
#include <type_traits>

#include "xcgui/xcgui.h"

// A UI library handle as the wrappers hold it: one untyped pointer-sized word (32 bits in the product, the
// i686 program), 0 for none.
using XCGUIDATA = std::uintptr_t;

static_assert(sizeof(void*) != 4 || sizeof(XCGUIDATA) == 4, "library handles are 32-bit words in the 32-bit program");

namespace vexo::ui {

// The typed library handle (HXCGUI, HWINDOW, HELE, HIMAGE, HDRAW, ...) that `data` designates.
template <class Handle>
Handle HandleCast(XCGUIDATA data) {
  static_assert(std::is_pointer_v<Handle>, "library handles are opaque pointers");
  return reinterpret_cast<Handle>(static_cast<std::uintptr_t>(data));
}

// The untyped word of a typed library handle.
template <class Handle>
XCGUIDATA HandleData(Handle handle) {
  static_assert(std::is_pointer_v<Handle>, "library handles are opaque pointers");
  return static_cast<XCGUIDATA>(reinterpret_cast<std::uintptr_t>(handle));
}

// An event value of type T from the raw word the library passed: pointers and handles by
// reinterpretation, integers by value.
template <class T>
T FromEventWord(vint word) {
  if constexpr (std::is_pointer_v<T>) {
    return reinterpret_cast<T>(word);
  } else {
    return static_cast<T>(word);
  }
}

// The raw word of an event value, the reverse of FromEventWord.
template <class T>
vint ToEventWord(T value) {
  if constexpr (std::is_pointer_v<T>) {
    return reinterpret_cast<vint>(value);
  } else {
    return static_cast<vint>(value);
  }
}

}  // namespace vexo::ui
