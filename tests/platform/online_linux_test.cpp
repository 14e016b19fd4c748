// How the Linux network monitors' reports count.
#include <gtest/gtest.h>

#include "platform/online_linux.h"

namespace {

using platform::NetworkBackend;
using platform::Reachability;

TEST(MonitorVerdict, Table) {
  struct Row {
    NetworkBackend backend;
    Reachability reachability;
    std::optional<bool> verdict;
  };
  const Row rows[] = {
      {NetworkBackend::NetworkManager, Reachability::Online, true},
      {NetworkBackend::NetworkManager, Reachability::Site, true},
      {NetworkBackend::NetworkManager, Reachability::Local, true},  // a LAN counts, as classically
      {NetworkBackend::NetworkManager, Reachability::Disconnected, false},
      {NetworkBackend::NetworkManager, Reachability::Unknown, std::nullopt},
      {NetworkBackend::GLib, Reachability::Online, true},
      {NetworkBackend::GLib, Reachability::Site, true},
      {NetworkBackend::GLib, Reachability::Local, false},  // GLib says Local without a default route
      {NetworkBackend::GLib, Reachability::Disconnected, false},
      {NetworkBackend::GLib, Reachability::Unknown, std::nullopt},
      {NetworkBackend::None, Reachability::Online, std::nullopt},  // no monitor, nothing to believe
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.backend) * 10 + static_cast<int>(row.reachability));
    EXPECT_EQ(platform::MonitorVerdict(row.backend, row.reachability), row.verdict);
  }
}

}  // namespace
