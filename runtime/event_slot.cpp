#include "runtime/event_slot.h"

CEventSlotBase::~CEventSlotBase() {
  if (owner_ != nullptr) owner_->Release();
}

bool CEventSlotBase::HasLiveHandler() const { return Binding(*this).live_handler() != nullptr; }

CEventSlotBase::Binding::Binding(const CEventSlotBase& slot) {
  vexo::SpinLockGuard hold(slot.lock_);
  handler_ = slot.handler_;
  owner_ = slot.owner_;
  user_value_ = slot.user_value_;
  if (owner_ != nullptr) owner_->AddRef();
  owner_object_ = owner_ != nullptr ? owner_->Get() : nullptr;
}

CEventSlotBase::Binding::~Binding() {
  if (owner_ != nullptr) owner_->Release();
}

CEventSlotBase::AnyHandler CEventSlotBase::Binding::live_handler() const {
  return owner_object_ != nullptr ? handler_ : nullptr;
}

void CEventSlotBase::BindAny(AnyHandler handler, CPelObjectPointer* owner, std::uint32_t user_value) {
  CPelObjectPointer* previous = nullptr;
  {
    vexo::SpinLockGuard hold(lock_);
    handler_ = handler;
    user_value_ = user_value;
    if (owner == owner_) return;
    previous = owner_;
    owner_ = owner;
    if (owner_ != nullptr) owner_->AddRef();
  }
  if (previous != nullptr) previous->Release();
}
