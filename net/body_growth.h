// How a response body buffer grows while libcurl delivers the body.
#pragma once

#include <cstdint>

namespace vexo::net {

// The largest body a byte buffer can hold (its length is a signed 32-bit count).
inline constexpr std::int64_t kMaxBodyBytes = INT32_MAX - 1;
// The largest announced Content-Length that is reserved at once; beyond it the buffer grows only as the
// bytes arrive, so a wrong announcement cannot claim memory the body never fills.
inline constexpr std::int64_t kMaxReservedBytes = std::int64_t{1} << 30;
// The smallest capacity a growing body gets.
inline constexpr std::int64_t kMinBodyCapacity = 16 * 1024;

// The capacities to try, best first, when `needed` bytes no longer fit in a body buffer. Each is greater
// than `needed`, or 0 when there is none to try.
struct BodyCapacities {
  // The announced length plus one byte: a body of known length allocated once. Only for the first bytes
  // (the buffer holds no storage yet), when the announcement covers `needed` and is at most
  // kMaxReservedBytes.
  std::int64_t reserved;
  // `needed` and half of it again (at least kMinBodyCapacity), so n bytes cost O(log n) reallocations, but
  // never past the announced length plus one byte while the announcement covers `needed`; at most
  // kMaxBodyBytes + 1. 0 when `needed` exceeds kMaxBodyBytes (the body cannot be held).
  std::int64_t grown;
};

// The capacities for a buffer whose storage holds `held` bytes (0: none yet), with `announced` the
// response's Content-Length as libcurl reports it (-1 when unknown). Either may fail to be allocated: the
// reservation because the announcement may be wrong, the growth because memory ran out.
BodyCapacities BodyCapacitiesFor(std::int64_t needed, std::int64_t held, std::int64_t announced);

}  // namespace vexo::net
