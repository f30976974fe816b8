// Memory that no process of this build can have, for the tests of failed requests.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vexo::test {

// A request size: 2 GiB less 64 KiB in one piece, which no 32-bit process has free; 2^62 bytes, beyond the
// address space of a 64-bit one.
constexpr std::size_t kUnobtainableBytes =
    sizeof(void*) == 4 ? std::size_t{0x7FFF0000u} : static_cast<std::size_t>(std::uint64_t{1} << 62);

// Whether a request of 2 GiB, the most that a 32-bit length asks for, cannot be had: true in a 32-bit
// process, false in a 64-bit one, which gets it (and holding its address space takes minutes under wine).
constexpr bool kThirtyTwoBitLengthsCanExhaustMemory = sizeof(void*) == 4;

}  // namespace vexo::test
