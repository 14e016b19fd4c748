#pragma once
// Whether the machine is online, decided from what the system's network services report.
#include <string>
#include <vector>

namespace platform {

enum class NetworkBackend { None, NetworkManager, GLib };
// The reachability levels the system's network monitors report, weakest first.
enum class Reachability { Unknown, Disconnected, Local, Site, Online };

struct InterfaceFacts {
  std::string name;
  bool isLoopback = false;
  bool isUp = false;
  bool isRunning = false;
  std::vector<std::string> addresses;  // textual IPv4 or IPv6 addresses, scope suffix allowed
};

struct OnlineFacts {
  NetworkBackend backend = NetworkBackend::None;  // the monitor that could be loaded
  Reachability reachability = Reachability::Unknown;
  std::vector<InterfaceFacts> interfaces;
};

// NetworkManager: any connected network (local, site or Internet) counts, as the classic system
// query counts a LAN connection. GLib's monitor: site or Internet (it reports less when there is
// no default route). A monitor that does not know (Unknown), or no monitor, leaves the decision
// to the interfaces: one that is up and running, not a loopback, with an address that is neither
// loopback nor link-local nor unspecified.
bool DecideOnline(const OnlineFacts& facts);

// Gathers the facts from the system and decides. Loads a network monitor on first use.
bool IsInternetConnected();

}  // namespace platform
