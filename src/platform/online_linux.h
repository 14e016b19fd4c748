#pragma once
// The Linux network monitors behind IsInternetConnected, and how their reports count.
#include <optional>

namespace platform {

enum class NetworkBackend { None, NetworkManager, GLib };
// The reachability levels the monitors report, weakest first.
enum class Reachability { Unknown, Disconnected, Local, Site, Online };

// NetworkManager: any connected network (local, site or Internet) counts, as the classic system
// query counts a LAN connection. GLib's monitor: site or Internet (it reports less when there is
// no default route). nullopt when there is no monitor or it does not know: the interfaces decide.
std::optional<bool> MonitorVerdict(NetworkBackend backend, Reachability reachability);

}  // namespace platform
