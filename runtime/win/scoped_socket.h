// Holder for Winsock sockets, closed with closesocket. Shares the verbs of ScopedGeneric: get, reset,
// release, receive. Include it before <windows.h>, as Winsock asks.
#pragma once

#include <winsock2.h>

#include "runtime/win/scoped_generic.h"

namespace vexo::win {

struct SocketTraits {
  static SOCKET InvalidValue() { return INVALID_SOCKET; }
  static bool IsValid(SOCKET s) { return s != INVALID_SOCKET; }
  static void Free(SOCKET s) { ::closesocket(s); }
};

// Sockets made with socket or accept; INVALID_SOCKET is empty.
using ScopedSocket = ScopedGeneric<SOCKET, SocketTraits>;

}  // namespace vexo::win
