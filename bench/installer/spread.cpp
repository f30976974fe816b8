#include "bench/installer/spread.h"

#include <algorithm>
#include <cstdio>

namespace vexo::bench {

Spread SpreadOf(std::vector<double> values) {
  if (values.empty()) return {};
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  return {median, values.front(), values.back()};
}

std::string Show(const Spread& spread, double scale, int decimals) {
  char text[96];
  std::snprintf(text, sizeof(text), "%.*f (%.*f–%.*f)", decimals, spread.median * scale, decimals, spread.min * scale,
                decimals, spread.max * scale);
  return text;
}

}  // namespace vexo::bench
