// The status line of a running download: amount received and total, a smoothed speed and the time left,
// refreshed a few times a second at most.
#pragma once

#include <cstdint>

#include "runtime/w_string.h"

namespace vexo::app {

class DownloadMeter {
 public:
  // The shortest time between two refreshes of the line.
  static constexpr std::uint32_t kRefreshMs = 250;

  // Takes a progress report: `received` of `total` bytes (total 0 or less: unknown) at `now_ms` (a
  // millisecond clock that may wrap). True when the line should be shown again: the first report, and
  // then at most once every kRefreshMs. A report with fewer bytes than the last one starts the
  // measurement again (the download started over).
  bool Report(std::int64_t total, std::int64_t received, std::uint32_t now_ms);

  // "23.4 MB / 69.0 MB · 8.2 MB/s · 剩余 6 秒"; without a known total "23.4 MB · 8.2 MB/s"; before a speed
  // is known only the amounts. A new text owned by the caller.
  CWString Text() const;

  // The smoothed speed in bytes per second; 0 while unknown.
  double speed() const { return speed_; }

 private:
  bool started_ = false;
  std::int64_t total_ = 0;
  std::int64_t received_ = 0;
  // The last sample the speed was taken from.
  std::int64_t sample_bytes_ = 0;
  std::uint32_t sample_ms_ = 0;
  std::uint32_t shown_ms_ = 0;
  double speed_ = 0;
};

}  // namespace vexo::app
