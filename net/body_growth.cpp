#include "net/body_growth.h"

#include <algorithm>

namespace vexo::net {

std::int64_t BodyCapacityFor(std::int64_t needed, std::int64_t announced) {
  if (needed < 0 || needed > kMaxBodyBytes) return 0;
  if (announced >= needed && announced <= kMaxReservedBytes) return announced + 1;
  return std::min(std::max(needed + needed / 2, kMinBodyCapacity), kMaxBodyBytes + 1);
}

}  // namespace vexo::net
