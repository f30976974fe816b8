#include "app/progress_percent.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vexo::app {

int ProgressPercent(std::int64_t total, std::int64_t downloaded) {
  const double percent = static_cast<double>(downloaded) / static_cast<double>(total) * 100.0;
  if (!std::isfinite(percent)) return 0;
  // The number-to-text form keeps 15 significant digits; reading it back gives the rounded value.
  char digits[32];
  std::snprintf(digits, sizeof(digits), "%.15G", percent);
  const double rounded = std::strtod(digits, nullptr);
  if (rounded <= 0.0) return 0;
  if (rounded >= 100.0) return 100;
  return static_cast<int>(rounded);
}

}  // namespace vexo::app
