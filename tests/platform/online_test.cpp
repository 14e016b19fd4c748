// Which reports count as online.
#include <gtest/gtest.h>

#include "platform/online.h"

namespace {

using platform::InterfaceFacts;
using platform::NetworkBackend;
using platform::OnlineFacts;
using platform::Reachability;

const InterfaceFacts kLoopback{"lo", true, true, true, {"127.0.0.1", "::1"}};
const InterfaceFacts kEthernet{"eth0", false, true, true, {"192.168.1.20", "fe80::1%eth0"}};
const InterfaceFacts kLinkLocalOnly{"eth1", false, true, true, {"169.254.10.3", "fe80::2%eth1"}};
const InterfaceFacts kGlobalV6Only{"wlan0", false, true, true, {"2001:db8::5"}};
const InterfaceFacts kDown{"eth2", false, false, false, {"10.0.0.7"}};
const InterfaceFacts kUpNotRunning{"eth3", false, true, false, {"10.0.0.8"}};
const InterfaceFacts kUnspecified{"tun0", false, true, true, {"0.0.0.0", "::"}};
const InterfaceFacts kLoopbackAddressElsewhere{"dummy0", false, true, true, {"127.0.0.2"}};
const InterfaceFacts kGarbage{"odd0", false, true, true, {"not an address", ""}};

TEST(DecideOnline, Table) {
  struct Row {
    const char* what;
    OnlineFacts facts;
    bool online;
  };
  const Row rows[] = {
      {"NetworkManager online", {NetworkBackend::NetworkManager, Reachability::Online, {}}, true},
      {"NetworkManager site", {NetworkBackend::NetworkManager, Reachability::Site, {}}, true},
      {"NetworkManager local network", {NetworkBackend::NetworkManager, Reachability::Local, {}}, true},
      {"NetworkManager disconnected wins over interfaces",
       {NetworkBackend::NetworkManager, Reachability::Disconnected, {kEthernet}}, false},
      {"GLib online", {NetworkBackend::GLib, Reachability::Online, {}}, true},
      {"GLib site", {NetworkBackend::GLib, Reachability::Site, {}}, true},
      {"GLib local is not enough", {NetworkBackend::GLib, Reachability::Local, {kEthernet}}, false},
      {"GLib disconnected", {NetworkBackend::GLib, Reachability::Disconnected, {kEthernet}}, false},
      {"a monitor that does not know asks the interfaces",
       {NetworkBackend::NetworkManager, Reachability::Unknown, {kLoopback, kEthernet}}, true},
      {"unknown and no usable interface",
       {NetworkBackend::GLib, Reachability::Unknown, {kLoopback}}, false},
      {"no monitor: a routable IPv4 address", {NetworkBackend::None, Reachability::Unknown, {kLoopback, kEthernet}}, true},
      {"no monitor: a global IPv6 address", {NetworkBackend::None, Reachability::Unknown, {kGlobalV6Only}}, true},
      {"no monitor: reachability without a monitor is ignored",
       {NetworkBackend::None, Reachability::Online, {kLoopback}}, false},
      {"no monitor: loopback only", {NetworkBackend::None, Reachability::Unknown, {kLoopback}}, false},
      {"no monitor: link-local only", {NetworkBackend::None, Reachability::Unknown, {kLinkLocalOnly}}, false},
      {"no monitor: down", {NetworkBackend::None, Reachability::Unknown, {kDown}}, false},
      {"no monitor: up but not running", {NetworkBackend::None, Reachability::Unknown, {kUpNotRunning}}, false},
      {"no monitor: unspecified addresses", {NetworkBackend::None, Reachability::Unknown, {kUnspecified}}, false},
      {"no monitor: a loopback address on another interface",
       {NetworkBackend::None, Reachability::Unknown, {kLoopbackAddressElsewhere}}, false},
      {"no monitor: unparsable addresses", {NetworkBackend::None, Reachability::Unknown, {kGarbage}}, false},
      {"no monitor: no interfaces", {NetworkBackend::None, Reachability::Unknown, {}}, false},
      {"no monitor: one good among bad",
       {NetworkBackend::None, Reachability::Unknown, {kDown, kLinkLocalOnly, kGlobalV6Only}}, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(platform::DecideOnline(row.facts), row.online);
  }
}

}  // namespace
