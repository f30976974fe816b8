// A body sink for the tests: keeps what it consumes in memory and refuses once a limit would be passed.
#pragma once

#include <cstddef>
#include <string>

#include "net/body_sink.h"

namespace vexo::test {

class RecordingSink : public net::BodySink {
 public:
  // Takes up to `limit` bytes in all; the block that would pass it is refused whole.
  explicit RecordingSink(std::size_t limit = std::string::npos) : limit_(limit) {}

  bool Consume(const char* data, std::size_t size) override {
    ++calls;
    if (size > limit_ - bytes.size()) return false;
    bytes.append(data, size);
    return true;
  }

  // The bytes consumed, in order, and the number of calls (refused ones included).
  std::string bytes;
  int calls = 0;

 private:
  std::size_t limit_;
};

}  // namespace vexo::test
