// The event records registered on one window or element, and the raising of an event through them.
#pragma once

#include <vector>

#include "xcgui/xcgui.h"

namespace xcgui {

class Context;
class Object;

class EventRegistry {
 public:
  EventRegistry() = default;
  ~EventRegistry();
  EventRegistry(const EventRegistry&) = delete;
  EventRegistry& operator=(const EventRegistry&) = delete;

  // Takes the record over for event `id`; false (record not taken) when it is null, not in register
  // mode or has no binding.
  bool Add(int id, xc_event* record);
  // Removes the earliest registration of `id` whose binding Equals the probe's binding and releases its
  // record (after the running dispatch, if any); false when none matches. The probe is never kept.
  bool Remove(Context& context, int id, const xc_event* probe);
  // Releases every record (after the running dispatch, if any); used when the owner is destroyed.
  void ReleaseAll(Context& context);
  bool Has(int id) const;
  // The records registered for `id`, in registration order; they stay the registry's.
  std::vector<const xc_event*> RecordsFor(int id) const;

  // Calls every record registered for `id`, in registration order, with the values packed as the record
  // contract says, and returns the handled flag. Stops when `owner` dies in a handler. `as_window` picks
  // the window form of the call.
  bool Raise(Context& context, const Object& owner, int id, const vint* values, int count, bool as_window);

 private:
  struct Entry {
    int id;
    xc_event* record;  // null once removed while a dispatch was running
  };
  void Compact(Context& context);
  std::vector<Entry> entries_;
};

}  // namespace xcgui
