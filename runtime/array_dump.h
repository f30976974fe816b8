// The debug dump pieces shared by the three array classes: the header and the quoting of text elements.
#pragma once

#include "runtime/w_string.h"

namespace vexo {

// Appends the array header for `count` members to `output` and returns how many members to show: all when
// `limit` < 0, else at most `limit` (0: 64).
int AppendArrayDumpHeader(CWString& output, int count, int limit);

// Appends zero-terminated `text` (null: empty) to `output` in double quotes, with C escapes for control
// characters, quotes and backslashes.
void AppendQuotedText(CWString& output, const wchar_t* text);

}  // namespace vexo
