// The online check on Windows: the system's own connection state, as wininet reports it. The kind
// of connection it also reports (modem, LAN, proxy) does not matter.
#include <windows.h>
#include <wininet.h>

#include "platform/online.h"

namespace platform {

bool IsInternetConnected() {
  DWORD kind = 0;
  return InternetGetConnectedState(&kind, 0) != FALSE;
}

}  // namespace platform
