// The whole percentage that the progress bar shows for a download.
#pragma once

#include <cstdint>

namespace vexo::app {

// downloaded ÷ total × 100, rounded to 15 significant digits (so 99.99999999999999 counts as 100), then
// the fraction cut off; 0 when the value is not a finite number (an unknown total of 0), clamped to
// 0..100 otherwise.
int ProgressPercent(std::int64_t total, std::int64_t downloaded);

}  // namespace vexo::app
