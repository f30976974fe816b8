#include "net/body_growth.h"

#include <algorithm>

namespace vexo::net {

BodyCapacities BodyCapacitiesFor(std::int64_t needed, std::int64_t held, std::int64_t announced) {
  if (needed < 0 || needed > kMaxBodyBytes) return {0, 0};
  const bool covered = announced >= needed;
  const std::int64_t reserved = held == 0 && covered && announced <= kMaxReservedBytes ? announced + 1 : 0;
  std::int64_t grown = std::min(std::max(needed + needed / 2, kMinBodyCapacity), kMaxBodyBytes + 1);
  if (covered) grown = std::min(grown, announced + 1);
  return {reserved, grown};
}

}  // namespace vexo::net
