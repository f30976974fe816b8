// The libcurl write callback that collects a response body in a byte buffer.
#pragma once

#include <curl/curl.h>

#include <cstddef>

#include "runtime/pel_mem.h"

namespace vexo::net {

// Where a body goes: the buffer, and the easy handle whose announced Content-Length sizes the buffer
// (null: the length is taken as unknown).
struct BodyTarget {
  CPelMem* body;
  CURL* easy;
};

// CURLOPT_WRITEFUNCTION, user data a BodyTarget. Appends the size × count bytes at `data` to the body (zero
// bytes for null data), growing it by BodyCapacityFor so that a large body costs one or O(log n)
// reallocations; the buffer's own step is left as it was. A buffer that is the null object, or no target
// at all, takes nothing and every block counts as consumed. Returns the bytes consumed, or 0 (libcurl then fails the transfer)
// when the body would outgrow what a byte buffer can hold.
std::size_t CollectBody(char* data, std::size_t size, std::size_t count, void* target);

}  // namespace vexo::net
