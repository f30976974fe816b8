// Texts and numbers under HKEY_LOCAL_MACHINE, addressed by one path: key path, backslash, value name.
#pragma once

#include <cstdint>

#include "runtime/w_string.h"

namespace vexo::sys {

// The path is split at its last backslash: the key path before it, the value name after it. A path without
// a backslash names a value of the HKEY_LOCAL_MACHINE root itself; a path ending in a backslash names the
// key's default (unnamed) value. The calling process's registry view is used as Windows gives it.

// The string of a REG_SZ value, or of a REG_EXPAND_SZ value with its environment variables expanded; a
// copy of `default_text` for a missing key or value, any other value type, or a failed read. A new text
// owned by the caller; an existing empty string gives the empty text.
CWString ReadRegistryText(const CWString& path, const CWString& default_text);

// Stores `text` as a REG_SZ value (with its terminating zero), creating the key and any missing keys
// above it. 1 when the value was written, else 0.
int WriteRegistryText(const CWString& path, const CWString& text);

// Stores `number` as a REG_DWORD value, creating missing keys as WriteRegistryText. 1 when written, else 0.
int WriteRegistryNumber(const CWString& path, std::uint32_t number);

}  // namespace vexo::sys
