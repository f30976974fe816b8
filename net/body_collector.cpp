#include "net/body_collector.h"

#include <cstdint>

#include "net/body_growth.h"

namespace vexo::net {

namespace {

std::int64_t AnnouncedLength(CURL* easy) {
  curl_off_t announced = -1;
  if (easy == nullptr || curl_easy_getinfo(easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced) != CURLE_OK) {
    return -1;
  }
  return announced;
}

}  // namespace

std::size_t CollectBody(char* data, std::size_t size, std::size_t count, void* target) {
  std::size_t n = size * count;
  const auto* sink = static_cast<const BodyTarget*>(target);
  if (sink == nullptr || sink->body == nullptr || sink->body->IsNullObject() || n == 0) return n;
  CPelMem& body = *sink->body;
  std::int64_t needed = std::int64_t{body.GetLength()} + static_cast<std::int64_t>(n);
  if (needed <= body.GetCapacity()) {
    body.Append(data, static_cast<std::int32_t>(n));
    return n;
  }
  std::int64_t capacity = BodyCapacityFor(needed, AnnouncedLength(sink->easy));
  if (capacity == 0) return 0;
  // The growth rule reallocates to exactly the step when the step exceeds the new length; later appends
  // that fit go into the free capacity without touching the rule again, so the step can go back at once.
  std::int32_t step = body.GetStep();
  body.SetStep(static_cast<std::int32_t>(capacity));
  body.Append(data, static_cast<std::int32_t>(n));
  body.SetStep(step);
  return n;
}

}  // namespace vexo::net
