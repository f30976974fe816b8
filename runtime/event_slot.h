// The system's one event mechanism: a slot holding a handler, a counted reference to the handler's owner
// and a user value; the handler is called only while its owner lives.
#pragma once

#include <cstdint>

#include "runtime/pel_object.h"
#include "runtime/pel_object_pointer.h"
#include "runtime/spin_lock.h"

// The part of every slot that does not depend on the event's arguments. Embedded by value in the object
// that raises the event; never copied (an object's copy gets an empty slot of its own).
class CEventSlotBase {
 public:
  CEventSlotBase() = default;
  CEventSlotBase(const CEventSlotBase&) = delete;
  CEventSlotBase& operator=(const CEventSlotBase&) = delete;
  // Releases the owner reference.
  ~CEventSlotBase();

  // Whether a handler is bound and its owner still lives.
  bool HasLiveHandler() const;

 protected:
  // Handlers are stored untyped and called through the typed slot that bound them.
  using AnyHandler = void (*)();

  // The slot's contents copied under its lock; the owner carries a reference of the copy's own, released
  // by the destructor.
  class Binding {
   public:
    explicit Binding(const CEventSlotBase& slot);
    Binding(const Binding&) = delete;
    Binding& operator=(const Binding&) = delete;
    ~Binding();

    // The handler, or null when none is bound or its owner is gone.
    AnyHandler live_handler() const;
    CPelObject* owner_object() const { return owner_object_; }
    std::uint32_t user_value() const { return user_value_; }

   private:
    AnyHandler handler_ = nullptr;
    CPelObjectPointer* owner_ = nullptr;
    CPelObject* owner_object_ = nullptr;
    std::uint32_t user_value_ = 0;
  };

  // Stores the handler and the user value; takes a reference to a new owner and gives up the old one
  // (after the lock is released). Binding the same owner again keeps its one reference.
  void BindAny(AnyHandler handler, CPelObjectPointer* owner, std::uint32_t user_value);

 private:
  AnyHandler handler_ = nullptr;
  CPelObjectPointer* owner_ = nullptr;
  std::uint32_t user_value_ = 0;
  mutable vexo::SpinLock lock_;
};

// A slot for events with arguments Args. Handlers are called as
// handler(owner object, source object, user value, args...) and return a 32-bit result.
template <class... Args>
class CEventSlot : public CEventSlotBase {
 public:
  using Handler = std::int32_t (*)(CPelObject* owner, CPelObject* source, std::uint32_t user_value, Args... args);

  // Binds `handler` with `owner` (an owner's self-pointer, referenced by the slot; may be null) and
  // `user_value`. A null handler unbinds. Safe against concurrent Raise and Bind.
  void Bind(Handler handler, CPelObjectPointer* owner, std::uint32_t user_value) {
    BindAny(reinterpret_cast<AnyHandler>(handler), owner, user_value);
  }

  // Calls the bound handler with `source` and `args` outside the lock and returns its result; 0 when no
  // handler is bound or its owner has ended. The owner's self-pointer stays referenced during the call.
  std::int32_t Raise(CPelObject* source, Args... args) const {
    Binding binding(*this);
    AnyHandler handler = binding.live_handler();
    if (handler == nullptr) return 0;
    return reinterpret_cast<Handler>(handler)(binding.owner_object(), source, binding.user_value(), args...);
  }
};

namespace vexo {

// A slot as a member of a copyable object. Slots are never copied: a copy of the object starts with an
// empty slot, and assigning the object leaves its slot as it was.
template <class Slot>
class UncopiedSlot : public Slot {
 public:
  UncopiedSlot() = default;
  UncopiedSlot(const UncopiedSlot&) : Slot() {}
  UncopiedSlot& operator=(const UncopiedSlot&) { return *this; }
};

}  // namespace vexo
