// A handler owner as the system makes one, for tests that bind event slots.
#pragma once

#include "runtime/pel_object.h"
#include "runtime/pel_object_pointer.h"

namespace vexo::test {

// An object and its self-pointer (count 1), ended the way an owner's destructor ends them.
struct HandlerOwner {
  CPelObject object;
  CPelObjectPointer* self = new CPelObjectPointer(&object);

  HandlerOwner() = default;
  HandlerOwner(const HandlerOwner&) = delete;
  HandlerOwner& operator=(const HandlerOwner&) = delete;
  ~HandlerOwner() { End(); }
  // What an owner's destructor does: empties the self-pointer and drops its own reference.
  void End();
};

}  // namespace vexo::test
