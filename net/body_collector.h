// The libcurl write callback that hands a response body to a byte buffer or a body sink.
#pragma once

#include <curl/curl.h>

#include <cstddef>

#include "net/body_sink.h"
#include "runtime/pel_mem.h"

namespace vexo::net {

// Where a body goes: the sink when there is one, else the buffer; and the easy handle whose announced
// Content-Length sizes the buffer (null: the length is taken as unknown).
struct BodyTarget {
  CPelMem* body;
  CURL* easy;
  BodySink* sink = nullptr;
};

// CURLOPT_WRITEFUNCTION, user data a BodyTarget. Returns the bytes consumed; 0 makes libcurl fail the
// transfer.
// - With a sink: passes the size × count bytes at `data` to it; 0 when it refuses them (or for null data,
//   which a sink cannot take).
// - Else appends them to the body (zero bytes for null data). Memory for the body is asked for without
//   ending the process: first the announced length at once (BodyCapacitiesFor), then growth as the bytes
//   arrive; 0, with the body as it was, when neither can be had or the body would outgrow what a byte
//   buffer can hold. The buffer's own step is left as it was. A buffer that is the null object, or no
//   target at all, takes nothing and every block counts as consumed.
std::size_t CollectBody(char* data, std::size_t size, std::size_t count, void* target);

}  // namespace vexo::net
