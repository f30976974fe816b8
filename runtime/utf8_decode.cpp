#include "runtime/utf8_decode.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// Bytes of the sequence a lead byte starts and the payload mask of the lead; 0 for a byte that cannot lead.
struct Lead {
  int length;
  std::uint8_t payload_mask;
};

Lead ClassifyLead(std::uint8_t byte) {
  if (byte < 0x80) return {1, 0x7F};
  if (byte < 0xC0) return {0, 0};
  if (byte < 0xE0) return {2, 0x1F};
  if (byte < 0xF0) return {3, 0x0F};
  if (byte < 0xF8) return {4, 0x07};
  if (byte < 0xFC) return {5, 0x03};
  if (byte < 0xFE) return {6, 0x01};
  return {0, 0};
}

}  // namespace

int Utf8Decode(const char* bytes, CPelMem& output) {
  if (output.Holds(bytes)) {
    // The bytes live in the buffer that is about to receive the units.
    CPelMem copy;
    copy.Append(bytes, static_cast<std::int32_t>(std::strlen(bytes) + 1));
    return Utf8Decode(static_cast<const char*>(copy.GetData()), output);
  }
  const auto* in = reinterpret_cast<const std::uint8_t*>(bytes != nullptr ? bytes : "");
  const std::size_t byte_count = std::strlen(reinterpret_cast<const char*>(in));
  // Never more units than bytes, plus the terminator.
  if (byte_count > (INT32_MAX - 2) / 2) std::exit(-1);
  auto* units = static_cast<wchar_t*>(output.SetLength(static_cast<std::int32_t>(byte_count * 2 + 2)));
  int count = 0;
  while (*in != 0) {
    const Lead lead = ClassifyLead(*in);
    if (lead.length == 0) break;
    std::uint32_t value = *in & lead.payload_mask;
    int taken = 1;
    while (taken < lead.length && in[taken] >= 0x80 && in[taken] <= 0xBF) {
      value = (value << 6) | (in[taken] & 0x3F);
      ++taken;
    }
    if (taken < lead.length) break;
    in += taken;
    if (value > 0xFFFF) {
      units[count++] = static_cast<wchar_t>(0xD800 | (((value - 0x10000) >> 10) & 0x3FF));
      units[count++] = static_cast<wchar_t>(0xDC00 | (value & 0x3FF));
    } else {
      units[count++] = static_cast<wchar_t>(value);
    }
  }
  units[count] = L'\0';
  output.SetLength((count + 1) * 2);
  return count;
}
