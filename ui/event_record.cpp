#include "ui/event_record.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

namespace vexo::ui {
namespace {

// The live binding records. Wrappers may be static objects that end after every other static, so the
// list is never destroyed.
struct LiveBindings {
  std::mutex lock;
  std::vector<BindingRecord*> records;
};

LiveBindings& Live() {
  static LiveBindings* live = new LiveBindings();
  return *live;
}

}  // namespace

BindingRecord::BindingRecord(rg_xc_gui::rg_xcbase* target) : target_(target) {
  LiveBindings& live = Live();
  std::lock_guard<std::mutex> hold(live.lock);
  live.records.push_back(this);
}

int BindingRecord::Equals(bind_event_cpp* other) {
  if (other == nullptr || other->GetThis() != target_) return 0;
  int own_size = 0;
  const void* own = GetMemberFunction(&own_size);
  int other_size = 0;
  const void* designation = other->GetMemberFunction(&other_size);
  return other_size == own_size && std::memcmp(designation, own, static_cast<std::size_t>(own_size)) == 0 ? 1 : 0;
}

void FreeBinding(BindingRecord* binding) {
  if (binding == nullptr) return;
  {
    LiveBindings& live = Live();
    std::lock_guard<std::mutex> hold(live.lock);
    live.records.erase(std::remove(live.records.begin(), live.records.end(), binding), live.records.end());
  }
  ::operator delete(static_cast<void*>(binding));
}

void ForgetTarget(const rg_xc_gui::rg_xcbase* target) {
  LiveBindings& live = Live();
  std::lock_guard<std::mutex> hold(live.lock);
  for (BindingRecord* record : live.records) {
    if (record->target_ == target) record->target_ = nullptr;
  }
}

std::size_t CountBindingsOf(const rg_xc_gui::rg_xcbase* target) {
  LiveBindings& live = Live();
  std::lock_guard<std::mutex> hold(live.lock);
  return static_cast<std::size_t>(std::count_if(live.records.begin(), live.records.end(),
                                                [target](const BindingRecord* r) { return r->target_ == target; }));
}

EventRecord::EventRecord(int record_mode, const char* name) {
  mode = record_mode;
  binding = nullptr;
  extra = nullptr;
  std::memset(handler_name, 0, kNameSize);
  if (name != nullptr) std::strncpy(handler_name, name, kNameSize - 1);
}

void EventRecord::xc_event_free() {
  FreeBinding(static_cast<BindingRecord*>(binding));
  if (extra != nullptr) extra->DeleteSelf(1);
  delete this;
}

}  // namespace vexo::ui
