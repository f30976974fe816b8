// Median, least and greatest of a set of benchmark figures, and their printed form.
#pragma once

#include <string>
#include <vector>

namespace vexo::bench {

struct Spread {
  double median = 0;
  double min = 0;
  double max = 0;
};

// The spread of `values`; all zero when there are none.
Spread SpreadOf(std::vector<double> values);

// "1.234 (1.100–1.500)" with the figures scaled by `scale`.
std::string Show(const Spread& spread, double scale, int decimals);

}  // namespace vexo::bench
