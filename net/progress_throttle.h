// Which of libcurl's progress reports a transfer passes on to the thread that owns it.
#pragma once

#include <cstdint>

#include "net/progress_counts.h"

namespace vexo::net {

// Passing a report on blocks the transfer for a round trip to the owner thread (a third of a millisecond
// under wine), so reports are passed on at most once per interval; the first report of a transfer and
// the one that completes the download or the upload always pass, so the owner sees the final figures.
// One transfer at a time; not thread-safe.
class ProgressThrottle {
 public:
  static constexpr std::uint32_t kIntervalMs = 50;

  // Forgets the previous transfer: its next report passes.
  void Restart() { delivered_any_ = false; }

  // Whether the report `counts`, made at tick `now_ms` (a millisecond tick that may wrap), is passed on;
  // when it is, it becomes the last passed report.
  bool ShouldPass(const ProgressCounts& counts, std::uint32_t now_ms);

 private:
  bool delivered_any_ = false;
  std::uint32_t last_ms_ = 0;
  ProgressCounts last_;
};

}  // namespace vexo::net
