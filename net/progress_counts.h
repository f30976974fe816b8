// The four byte counts of one libcurl progress report.
#pragma once

#include <cstdint>

namespace vexo::net {

// Counts as libcurl reports them: totals are 0 while unknown.
struct ProgressCounts {
  std::int64_t download_total = 0;
  std::int64_t downloaded = 0;
  std::int64_t upload_total = 0;
  std::int64_t uploaded = 0;

  bool operator==(const ProgressCounts& other) const {
    return download_total == other.download_total && downloaded == other.downloaded &&
           upload_total == other.upload_total && uploaded == other.uploaded;
  }
  bool operator!=(const ProgressCounts& other) const { return !(*this == other); }
};

}  // namespace vexo::net
