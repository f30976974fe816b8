#include "net/header_line_collector.h"

#include <cstring>

#include "runtime/ansi_conversion.h"
#include "runtime/pel_mem.h"
#include "runtime/text_array.h"

namespace vexo::net {

std::size_t CollectHeaderLine(char* data, std::size_t size, std::size_t count, void* lines) {
  std::size_t n = size * count;
  if (lines == nullptr) return n;
  // libcurl's line is not zero-terminated: it ends at its length, or at a zero byte inside it.
  std::size_t bytes = data == nullptr ? 0 : ::strnlen(data, n);
  CPelMem line;
  line.Append(data, static_cast<std::int32_t>(bytes));
  line.Append(nullptr, 1);
  CPelMem units;
  static_cast<rg_Pelor_JiBen::rg_WenBenShuZuLei*>(lines)->Add(
      FromAnsi(static_cast<const char*>(line.GetData()), units));
  return n;
}

}  // namespace vexo::net
