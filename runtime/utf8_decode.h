// Utf8Decode: UTF-8 bytes to UTF-16 units in a byte buffer, with the runtime's own stop rules.
#pragma once

#include "runtime/pel_mem.h"

// Decodes zero-terminated `bytes` (null: empty) into `output`: the UTF-16 units, then one zero unit; the
// buffer's length becomes (units + 1) × 2. Leads of 2 to 6 bytes are accepted, values above 0xFFFF become
// surrogate pairs, overlong forms pass unchecked. Decoding stops at an invalid lead byte, or, dropping the
// incomplete character, at a missing or invalid continuation byte. Returns the units written, terminator
// not counted. The bytes may lie in `output` itself.
int Utf8Decode(const char* bytes, CPelMem& output);
