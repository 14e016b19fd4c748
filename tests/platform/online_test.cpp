// Which reports count as online.
#include <gtest/gtest.h>

#include "platform/online.h"

namespace {

using platform::InterfaceFacts;
using platform::OnlineFacts;

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
      {"the monitor says online", {true, {}}, true},
      {"the monitor says offline, whatever the interfaces", {false, {kEthernet}}, false},
      {"no answer: a routable IPv4 address", {std::nullopt, {kLoopback, kEthernet}}, true},
      {"no answer: a global IPv6 address", {std::nullopt, {kGlobalV6Only}}, true},
      {"no answer: loopback only", {std::nullopt, {kLoopback}}, false},
      {"no answer: link-local only", {std::nullopt, {kLinkLocalOnly}}, false},
      {"no answer: down", {std::nullopt, {kDown}}, false},
      {"no answer: up but not running", {std::nullopt, {kUpNotRunning}}, false},
      {"no answer: unspecified addresses", {std::nullopt, {kUnspecified}}, false},
      {"no answer: a loopback address on another interface", {std::nullopt, {kLoopbackAddressElsewhere}}, false},
      {"no answer: unparsable addresses", {std::nullopt, {kGarbage}}, false},
      {"no answer: no interfaces", {std::nullopt, {}}, false},
      {"no answer: one good among bad", {std::nullopt, {kDown, kLinkLocalOnly, kGlobalV6Only}}, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(platform::DecideOnline(row.facts), row.online);
  }
}

}  // namespace
