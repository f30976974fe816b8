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

// The capacity a body buffer should get when `needed` bytes no longer fit in it: the announced length
// `announced` (libcurl's Content-Length, -1 when unknown) plus one byte when it covers `needed` and is at
// most kMaxReservedBytes, so a body of known length is allocated once; otherwise `needed` and half of it
// again (at least kMinBodyCapacity), so n bytes cost O(log n) reallocations. The result is always greater
// than `needed`; 0 when `needed` exceeds kMaxBodyBytes (the body cannot be held).
std::int64_t BodyCapacityFor(std::int64_t needed, std::int64_t announced);

}  // namespace vexo::net
