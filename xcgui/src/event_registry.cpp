#include "xcgui/src/event_registry.h"

#include <algorithm>

#include "xcgui/src/context.h"

namespace xcgui {

EventRegistry::~EventRegistry() {
  // Owners release their records through ReleaseAll before they go; anything left is released here.
  for (Entry& entry : entries_) {
    if (entry.record) entry.record->xc_event_free();
  }
}

bool EventRegistry::Add(int id, xc_event* record) {
  if (!record || record->mode != 1 || !record->binding) return false;
  entries_.push_back({id, record});
  return true;
}

bool EventRegistry::Remove(Context& context, int id, const xc_event* probe) {
  if (!probe || !probe->binding) return false;
  for (Entry& entry : entries_) {
    if (entry.record && entry.id == id && entry.record->binding->Equals(probe->binding)) {
      context.ReleaseRecord(entry.record);
      entry.record = nullptr;
      Compact(context);
      return true;
    }
  }
  return false;
}

void EventRegistry::ReleaseAll(Context& context) {
  for (Entry& entry : entries_) {
    if (entry.record) context.ReleaseRecord(entry.record);
    entry.record = nullptr;
  }
  Compact(context);
}

bool EventRegistry::Has(int id) const {
  return std::any_of(entries_.begin(), entries_.end(),
                     [id](const Entry& entry) { return entry.record && entry.id == id; });
}

std::vector<const xc_event*> EventRegistry::RecordsFor(int id) const {
  std::vector<const xc_event*> records;
  for (const Entry& entry : entries_) {
    if (entry.record && entry.id == id) records.push_back(entry.record);
  }
  return records;
}

void EventRegistry::Compact(Context& context) {
  // A running dispatch walks the entries by index; they are only erased once it has ended.
  if (context.dispatching()) return;
  entries_.erase(std::remove_if(entries_.begin(), entries_.end(), [](const Entry& e) { return !e.record; }),
                 entries_.end());
}

bool EventRegistry::Raise(Context& context, const Object& owner, int id, const vint* values, int count,
                          bool as_window) {
  if (!Has(id)) return false;
  // One value goes in e2, two in e2 and e3, three in e1, e2 and e3.
  vint e[3] = {0, 0, 0};
  if (count == 3) {
    std::copy(values, values + 3, e);
  } else {
    std::copy(values, values + std::min(count, 2), e + 1);
  }
  DispatchScope scope(context);
  BOOL handled = FALSE;
  size_t end = entries_.size();  // records added by a handler wait for the next event
  for (size_t i = 0; i < end && i < entries_.size() && owner.alive(); ++i) {
    Entry entry = entries_[i];
    if (!entry.record || entry.id != id) continue;
    if (as_window) {
      entry.record->binding->HandleEvent_cpp_Call(reinterpret_cast<HWINDOW>(owner.handle()), 1, e[0], e[1],
                                                  e[2], &handled);
    } else {
      entry.record->binding->HandleEvent_cpp_Call(reinterpret_cast<HELE>(owner.handle()), 1, e[0], e[1],
                                                  e[2], &handled);
    }
  }
  return handled != FALSE;
}

}  // namespace xcgui
