// Conversions between UTF-16 text and byte strings in the system's ANSI code page (CP_ACP).
#pragma once

#include "runtime/pel_mem.h"

// Converts zero-terminated `text` into `buffer` and returns the byte string there (owned by the buffer,
// zero-terminated). Stores the bytes before the terminator in `out_length` when it is not null. A null or
// empty text, or a failed conversion, returns the one shared empty byte string and length 0.
const char* ToAnsi(const wchar_t* text, CPelMem& buffer, int* out_length = nullptr);

// Converts zero-terminated `bytes` into `buffer` (UTF-16 units with terminator; length = 2 × units) and
// returns the text there, owned by the buffer. Null or empty input, or a failed conversion, returns the
// shared empty literal (CWString::EmptyLiteral).
const wchar_t* FromAnsi(const char* bytes, CPelMem& buffer);
