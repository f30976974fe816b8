#include "net/progress_throttle.h"

namespace vexo::net {

namespace {

bool Completes(std::int64_t total, std::int64_t now, std::int64_t last_now) {
  return total > 0 && now == total && last_now != now;
}

}  // namespace

bool ProgressThrottle::ShouldPass(const ProgressCounts& counts, std::uint32_t now_ms) {
  bool pass = !delivered_any_ || now_ms - last_ms_ >= kIntervalMs ||
              Completes(counts.download_total, counts.downloaded, last_.downloaded) ||
              Completes(counts.upload_total, counts.uploaded, last_.uploaded);
  if (pass) {
    delivered_any_ = true;
    last_ms_ = now_ms;
    last_ = counts;
  }
  return pass;
}

}  // namespace vexo::net
