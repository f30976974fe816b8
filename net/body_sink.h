// BodySink: where a response body goes, as it arrives, instead of into the response's memory body.
#pragma once

#include <cstddef>

namespace vexo::net {

// Receives one request's body block by block, in order, on the thread that performs the request.
class BodySink {
 public:
  virtual ~BodySink() = default;

  // Takes the `size` bytes at `data` (the sink copies what it keeps; the bytes are valid only during the
  // call). False refuses them: the transfer ends at once as failed (status code 0).
  virtual bool Consume(const char* data, std::size_t size) = 0;
};

}  // namespace vexo::net
