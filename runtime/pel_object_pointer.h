// CPelObjectPointer: a counted handle to an object, emptied by that object when it ends.
#pragma once

#include <atomic>

#include "runtime/pel_object.h"
#include "runtime/ref_object.h"

// An owner creates one for itself and clears it in its destructor; others keep counted references and use
// the object only while Get() is not null. The pointer is not owned.
class CPelObjectPointer : public CRefObject {
 public:
  explicit CPelObjectPointer(CPelObject* object) : object_(object) {}

  // The object, or null once its owner has cleared the pointer.
  CPelObject* Get() const { return object_.load(std::memory_order_acquire); }
  // Empties the pointer; called by the object's owner when the object ends.
  void Clear() { object_.store(nullptr, std::memory_order_release); }

 private:
  std::atomic<CPelObject*> object_;
};
