#pragma once
// Just enough of a D-Bus client to read one unsigned 32-bit property, with one deadline over the
// whole exchange (connecting, signing in, the call) and in the calling thread. The toolkit's bus
// support waits without a bound for a bus that never answers, and for ever for a thread of its own
// that a process short of memory cannot start; a start-up check may do neither.
#include <cstdint>
#include <string>

namespace platform {

struct BusPropertyQuery {
  std::string destination, path, interface, property;
};

struct BusProperty {
  enum class Outcome {
    Value,         // `value` holds the answer
    NoAnswer,      // no bus, refused, closed, an error reply, or an answer of another type
    Unresponsive,  // the bus took the connection but the deadline passed first (or it takes none)
  };
  Outcome outcome = Outcome::NoAnswer;
  std::uint32_t value = 0;
};

// `address` in D-Bus address syntax; its first unix: entry (path= or abstract=) is used. A service
// that is not running is not started for the question.
BusProperty ReadUint32Property(const std::string& address, const BusPropertyQuery& query, int deadlineMs);

// The system bus: DBUS_SYSTEM_BUS_ADDRESS, else the standard socket.
std::string SystemBusAddress();

}  // namespace platform
