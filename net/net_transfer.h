// The network transfer: one shared libcurl easy handle with its collecting callbacks, and a progress event
// raised on the thread that constructed the transfer.
#pragma once

#include <curl/curl.h>

#include <cstdint>

#include "runtime/counted_ref.h"
#include "net/curl_wraper.h"
#include "runtime/event_slot.h"
#include "net/notice_receiver.h"
#include "net/progress_counts.h"
#include "runtime/class_family.h"
#include "runtime/pel_object.h"
#include "runtime/spin_lock.h"

namespace rg_Pelor_ShiChuang_WangLao {

// Progress events: handler(owner, source, user value, download total, downloaded now, upload total,
// uploaded now), libcurl's byte counts; a total is 0 while unknown.
using ProgressEvent = CEventSlot<std::int64_t, std::int64_t, std::int64_t, std::int64_t>;

// Construct it on the thread that is to run its progress handlers, and keep that thread dispatching
// messages while a transfer runs elsewhere. Copies share the easy handle; the handle's progress reports go
// to the copy that last began a transfer on it, and a copy that ends stops receiving them.
class rg_WangLaoChuanShuLei : public CPelObject, public IPelNoticeReceiver {
  PEL_OBJECT_CLASS(rg_WangLaoChuanShuLei, CPelObject, "rg_Pelor_ShiChuang_WangLao::rg_WangLaoChuanShuLei")

 public:
  // Creates the notice window (null on failure; progress is then not reported), an empty progress event
  // and a new holder whose easy handle gets the body, header and progress callbacks.
  rg_WangLaoChuanShuLei();
  // A transfer with a notice window and an empty event of its own, sharing `other`'s holder.
  rg_WangLaoChuanShuLei(const rg_WangLaoChuanShuLei& other);
  // Copies the flags and reserved words and shares `other`'s holder, whose progress reports now come
  // here; window and event stay.
  rg_WangLaoChuanShuLei& operator=(const rg_WangLaoChuanShuLei& other);
  // Releases the holder (the handle ends with its last sharer) and the event's owner; destroys the window.
  ~rg_WangLaoChuanShuLei() override;

  // The shared easy handle's payload; lives as long as this transfer.
  CCurlWraper& GetCurl() { return holder_->GetData(); }
  // The shared holder (for comparing sharers and counting them); owned by the sharers.
  const CurlHolder* GetHolder() const { return holder_.get(); }
  // The progress event, raised with this transfer as source; a handler's non-zero result aborts the
  // transfer.
  ProgressEvent& GetProgressEvent() { return progress_; }

  // Called before a transfer on the handle starts: this object receives the handle's progress reports
  // from now on, and the handle has the collecting callbacks (their targets are the caller's).
  void BeginTransfer();
  // Called by the transferring thread when a transfer on the handle has ended: with the latest-counts
  // delivery, counts not yet delivered are delivered now, and the call waits for their handlers.
  void EndTransfer();

  // How progress reports reach the handlers.
  enum class ProgressDelivery {
    // Each report waits for the handlers on the owner thread; a non-zero result aborts the transfer.
    kWaitForHandlers,
    // The transferring thread never waits: it keeps the latest counts and queues one notice at a time,
    // at most one every kNoticeGapMs, which delivers the counts latest when it runs; the handlers'
    // results are ignored. EndTransfer delivers what is still pending, so the last counts always arrive
    // before the request returns.
    kLatestWithoutWaiting,
  };
  // The shortest time between two queued notices of the latest-counts delivery: often enough for a
  // smooth bar, rare enough that the owner thread's handling does not take the processor from the transfer.
  static constexpr std::uint32_t kNoticeGapMs = 30;

  // Sets the delivery for this object's later transfers (kWaitForHandlers at construction and in copies).
  // Owner thread, while no transfer runs.
  void SetProgressDelivery(ProgressDelivery delivery) {
    latest_only_ = delivery == ProgressDelivery::kLatestWithoutWaiting;
  }

  // Raises the progress event with the counts of a report sent by the transferring thread, or with the
  // latest counts for a queued notice (no arguments).
  std::uint32_t OnNotice(std::uint32_t word_a, void* arguments, std::uint32_t word_b) override;

 protected:
  // Equal only when sharing the same holder (besides the flags and reserved words).
  bool HasEqualFields(const rg_WangLaoChuanShuLei& other) const {
    return CPelObject::HasEqualFields(other) && holder_.get() == other.holder_.get();
  }

 private:
  // libcurl's progress callback; user data is the holder.
  static int ReportProgress(void* holder, curl_off_t download_total, curl_off_t downloaded,
                            curl_off_t upload_total, curl_off_t uploaded);
  // Sends a report to the owner thread and waits for the handler; its result.
  int SendProgress(const vexo::net::ProgressCounts& counts);
  // Keeps `counts` as the latest and queues a notice when none is pending.
  void PostProgress(const vexo::net::ProgressCounts& counts);
  // Takes the latest counts when a delivery of them is pending (and ends that pending state).
  bool TakeLatest(vexo::net::ProgressCounts* counts);
  // Points the handle's callbacks at their functions and its progress reports at this object.
  void InstallCallbacks();
  // Gives up the holder, unhooking this object from its progress reports.
  void LeaveHolder();

  vexo::CountedRef<CurlHolder> holder_;
  ProgressEvent progress_;
  // The latest-counts delivery: the counts, whether a delivery of them is pending, whether a notice is
  // queued and when the last one was, and their lock.
  bool latest_only_ = false;
  bool latest_pending_ = false;
  bool notice_queued_ = false;
  std::uint64_t last_notice_ms_ = 0;
  vexo::net::ProgressCounts latest_;
  vexo::SpinLock latest_lock_;
};

}  // namespace rg_Pelor_ShiChuang_WangLao
