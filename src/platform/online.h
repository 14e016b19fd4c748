#pragma once
// Whether the machine is online, decided from what the system reports.
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct InterfaceFacts {
  std::string name;
  bool isLoopback = false;
  bool isUp = false;
  bool isRunning = false;
  std::vector<std::string> addresses;  // textual IPv4 or IPv6 addresses, scope suffix allowed
};

struct OnlineFacts {
  // What the system's network monitor says, nullopt when there is none or it does not know.
  std::optional<bool> monitorSaysOnline;
  std::vector<InterfaceFacts> interfaces;
};

// The monitor's answer when it has one. Otherwise the interfaces decide: one that is up and
// running, not a loopback, with an address that is neither loopback nor link-local nor unspecified.
bool DecideOnline(const OnlineFacts& facts);

// Asks the system (the backend gathers the facts and decides), never waiting long for it. As the
// system's own connection-state query does, it counts any network connection, a local one too,
// whether or not that reaches the Internet.
bool IsInternetConnected();

}  // namespace platform
