// The counted handle holder that copies of a wrapper share, and its payloads.
#pragma once

#include "runtime/counted_ref.h"
#include "runtime/ref_object.h"
#include "ui/handle_cast.h"

// Payload of an image wrapper's holder: a UI library image handle, 0 for none.
struct CXImage {
  XCGUIDATA handle = 0;
};

// Payload of a drawing wrapper's holder: a UI library drawing handle, 0 for none.
struct CXHDRAW {
  XCGUIDATA handle = 0;
};

namespace vexo::ui {

// The handle word inside each payload.
inline XCGUIDATA& PayloadHandle(XCGUIDATA& payload) { return payload; }
inline XCGUIDATA& PayloadHandle(CXImage& payload) { return payload.handle; }
inline XCGUIDATA& PayloadHandle(CXHDRAW& payload) { return payload.handle; }

// A wrapper's reference to its holder CRefObjectWithData<Payload>. A new one makes a fresh holder (count 1,
// handle 0); a copy shares the holder, and assignment adopts the other's holder and releases its own. The
// holder never calls the UI library: the library object outlives every wrapper. Reads and stores of the
// handle are plain (UI thread); the count is atomic, so copies may end on any thread.
template <class Payload>
class SharedHandle {
 public:
  using Holder = CRefObjectWithData<Payload>;

  SharedHandle() : holder_(CountedRef<Holder>::Adopt(new Holder())) {}

  // The handle in the holder now.
  XCGUIDATA Get() const { return PayloadHandle(holder_->GetData()); }
  // Stores `handle` into the holder; every sharer sees it.
  void Set(XCGUIDATA handle) { PayloadHandle(holder_->GetData()) = handle; }
  // Whether both share one holder.
  bool Shares(const SharedHandle& other) const { return holder_.get() == other.holder_.get(); }
  // The holder, for counting its sharers; owned by them.
  const Holder& GetHolder() const { return *holder_.get(); }

 private:
  CountedRef<Holder> holder_;
};

}  // namespace vexo::ui
