#include "net/body_collector.h"

#include <cstdint>
#include <initializer_list>

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

// Makes room for `needed` bytes in `body`: the reservation, else the growth; false when neither can be had.
bool MakeRoom(CPelMem& body, std::int64_t needed, CURL* easy) {
  const BodyCapacities capacities = BodyCapacitiesFor(needed, body.GetCapacity(), AnnouncedLength(easy));
  for (std::int64_t capacity : {capacities.reserved, capacities.grown}) {
    if (capacity > 0 && body.TryReserve(static_cast<std::int32_t>(capacity))) return true;
  }
  return false;
}

}  // namespace

std::size_t CollectBody(char* data, std::size_t size, std::size_t count, void* target) {
  std::size_t n = size * count;
  const auto* where = static_cast<const BodyTarget*>(target);
  if (where != nullptr && where->sink != nullptr) {
    const bool taken = n == 0 || (data != nullptr && where->sink->Consume(data, n));
    return taken ? n : 0;
  }
  if (where == nullptr || where->body == nullptr || where->body->IsNullObject() || n == 0) return n;
  CPelMem& body = *where->body;
  std::int64_t needed = std::int64_t{body.GetLength()} + static_cast<std::int64_t>(n);
  if (needed > body.GetCapacity() && !MakeRoom(body, needed, where->easy)) return 0;
  body.Append(data, static_cast<std::int32_t>(n));
  return n;
}

}  // namespace vexo::net
