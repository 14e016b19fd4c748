// The online check on Linux: NetworkManager over the system bus, else the interfaces.
#include "platform/online_linux.h"

#include <QNetworkInterface>
#include <QString>

#include "platform/bus_posix.h"
#include "platform/online.h"

namespace platform {

namespace {

std::vector<InterfaceFacts> GatherInterfaces() {
  std::vector<InterfaceFacts> result;
  for (const QNetworkInterface& iface : QNetworkInterface::allInterfaces()) {
    InterfaceFacts facts;
    facts.name = iface.name().toStdString();
    const QNetworkInterface::InterfaceFlags flags = iface.flags();
    facts.isLoopback = flags.testFlag(QNetworkInterface::IsLoopBack);
    facts.isUp = flags.testFlag(QNetworkInterface::IsUp);
    facts.isRunning = flags.testFlag(QNetworkInterface::IsRunning);
    for (const QNetworkAddressEntry& entry : iface.addressEntries())
      facts.addresses.push_back(entry.ip().toString().toStdString());
    result.push_back(std::move(facts));
  }
  return result;
}

}  // namespace

std::optional<bool> NetworkManagerVerdict(std::uint32_t state) {
  // NM_STATE_ASLEEP 10, DISCONNECTED 20, DISCONNECTING 30, CONNECTING 40; CONNECTED_LOCAL 50,
  // CONNECTED_SITE 60, CONNECTED_GLOBAL 70; UNKNOWN 0.
  switch (state) {
    case 10: case 20: case 30: case 40: return false;
    case 50: case 60: case 70: return true;
    default: return std::nullopt;
  }
}

bool IsInternetConnectedVia(const std::string& busAddress, int deadlineMs) {
  const BusProperty state = ReadUint32Property(
      busAddress,
      {"org.freedesktop.NetworkManager", "/org/freedesktop/NetworkManager", "org.freedesktop.NetworkManager", "State"},
      deadlineMs);
  // A bus that keeps the question unanswered leaves no time to look further.
  if (state.outcome == BusProperty::Outcome::Unresponsive) return false;
  OnlineFacts facts;
  if (state.outcome == BusProperty::Outcome::Value) facts.monitorSaysOnline = NetworkManagerVerdict(state.value);
  facts.interfaces = GatherInterfaces();
  return DecideOnline(facts);
}

bool IsInternetConnected() { return IsInternetConnectedVia(SystemBusAddress(), kOnlineDeadlineMs); }

}  // namespace platform
