// The libcurl header callback that collects every received header line, decoded from the ANSI code page.
#pragma once

#include <cstddef>

namespace vexo::net {

// CURLOPT_HEADERFUNCTION, user data a text array (rg_Pelor_JiBen::rg_WenBenShuZuLei). Appends one element
// per delivered line, as received (line end included), decoded from the system ANSI code page: the
// size × count bytes at `data`, up to the first zero byte if the line holds one. A line that decodes to
// nothing (empty, or not convertible) becomes an empty element; without an array the line is dropped.
// Returns size × count.
std::size_t CollectHeaderLine(char* data, std::size_t size, std::size_t count, void* lines);

}  // namespace vexo::net
