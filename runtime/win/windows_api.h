// The Windows API for this project's code, minus the macros that would rename the object model's members.
#pragma once

#include <windows.h>

// <windows.h> maps GetClassInfo to GetClassInfoA/W; the object model has a member of that name. winuser.h
// is include-guarded, so the macro stays gone for every later include. Win32 callers use GetClassInfoW.
#undef GetClassInfo
