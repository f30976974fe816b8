// Holders for WinHTTP's handles and for the texts WinHTTP hands out to be freed with GlobalFree.
#pragma once

#include <windows.h>
#include <winhttp.h>

#include "runtime/win/scoped_generic.h"

namespace vexo::win {

// Session, connection and request handles, closed with WinHttpCloseHandle. Users link winhttp.
using ScopedInternet = ScopedNullHandle<HINTERNET, &::WinHttpCloseHandle>;

// Frees a text that WinHTTP allocated with GlobalAlloc.
inline void FreeGlobalText(wchar_t* text) { ::GlobalFree(text); }
// A zero-terminated text from WinHTTP (proxy lists, bypass lists, script addresses), freed with GlobalFree.
using ScopedGlobalText = ScopedNullHandle<wchar_t*, &FreeGlobalText>;

}  // namespace vexo::win
