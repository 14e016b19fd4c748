#pragma once
// The Linux online check: NetworkManager's state, asked over the system bus within a deadline,
// else the network interfaces.
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// Long enough for a bus under load, short enough for the window's start-up.
inline constexpr int kOnlineDeadlineMs = 1500;

// What NetworkManager's state (its NMState number) says: any connected network (local, site or
// Internet) counts, as the classic system query counts a LAN connection. nullopt when it does not
// know, so that the interfaces decide.
std::optional<bool> NetworkManagerVerdict(std::uint32_t state);

// IsInternetConnected with NetworkManager asked on the bus at `busAddress`. When the bus takes the
// question but no answer comes within `deadlineMs`, the answer is offline.
bool IsInternetConnectedVia(const std::string& busAddress, int deadlineMs);

}  // namespace platform
