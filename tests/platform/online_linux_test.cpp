// The Linux online check: what NetworkManager's states count as, and the question asked over a
// bus that answers, refuses, fails or never answers at all.
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include <QProcess>
#include <QStandardPaths>

#include "platform/bus_posix.h"
#include "platform/online_linux.h"
#include "support/temp_dir.h"

namespace {

using platform::BusProperty;
using Outcome = platform::BusProperty::Outcome;

TEST(NetworkManagerVerdict, Table) {
  const std::pair<std::uint32_t, std::optional<bool>> rows[] = {
      {70, true}, {60, true}, {50, true},  // global, site, and a LAN alone, as classically
      {40, false}, {30, false}, {20, false}, {10, false},
      {0, std::nullopt}, {55, std::nullopt}, {0xFFFFFFFF, std::nullopt},  // unknown: the interfaces decide
  };
  for (const auto& [state, verdict] : rows) {
    SCOPED_TRACE(state);
    EXPECT_EQ(platform::NetworkManagerVerdict(state), verdict);
  }
}

// ---- A bus of our own making ---------------------------------------------------------------------

enum class Peer { Silent, Answers, AnswersBigEndian, SignalFirst, UnknownFields, Error, WrongType, Rejects, ClosesAfterSignIn };

void Put32(std::string& out, std::uint32_t v, bool big) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>(big ? v >> (8 * (3 - i)) : v >> (8 * i));
}
void Pad(std::string& out, std::size_t n) { out.resize((out.size() + n - 1) / n * n, '\0'); }

// Header fields that no version of the protocol has yet, of types the client never reads there
// (an array of strings, a structure, a variant); they start 8-aligned, as every field does.
void PutUnknownFields(std::string& m, bool big) {
  m += {static_cast<char>(200), 2, 'a', 's', 0};
  Pad(m, 4);
  const std::size_t lengthAt = m.size();
  Put32(m, 0, big);
  const std::size_t elements = m.size();
  for (const std::string text : {"x", "yz"}) Pad(m, 4), Put32(m, static_cast<std::uint32_t>(text.size()), big), m += text + '\0';
  std::string length;
  Put32(length, static_cast<std::uint32_t>(m.size() - elements), big);
  m.replace(lengthAt, 4, length);
  Pad(m, 8);
  m += {static_cast<char>(201), 4, '(', 'y', 't', ')', 0};
  Pad(m, 8);
  m += '\x07';
  Pad(m, 8);
  m += std::string(8, '\x01');
  Pad(m, 8);
  m += {static_cast<char>(202), 1, 'v', 0, 1, 'u', 0};
  Pad(m, 4);
  Put32(m, 7, big);
}

// A message from the bus: `fields` as (code, type, value) where values of type u are numbers;
// type X stands for the unknown fields above.
std::string Message(std::uint8_t type, const std::vector<std::tuple<std::uint8_t, char, std::string>>& fields,
                    const std::string& variantType, std::uint32_t value, bool big = false) {
  std::string m{big ? 'B' : 'l', static_cast<char>(type), 0, 1};
  Put32(m, 0, big);  // body length, set below
  Put32(m, 99, big);
  Put32(m, 0, big);  // fields' length, set below
  for (const auto& [code, kind, text] : fields) {
    Pad(m, 8);
    m += {static_cast<char>(code), 1, kind, 0};
    if (kind == 'u') Put32(m, static_cast<std::uint32_t>(std::stoul(text)), big);
    if (kind == 'g') m += static_cast<char>(text.size()) + text + '\0';
    if (kind == 's') Put32(m, static_cast<std::uint32_t>(text.size()), big), m += text + '\0';
    if (kind == 'X') m.resize(m.size() - 4), PutUnknownFields(m, big);
  }
  std::string fieldsLength;
  Put32(fieldsLength, static_cast<std::uint32_t>(m.size() - 16), big);
  m.replace(12, 4, fieldsLength);
  Pad(m, 8);
  const std::size_t body = m.size();
  if (!variantType.empty()) {
    m += {1, variantType[0], 0};
    if (variantType == "s") Put32(m, 2, big), m += std::string("on") + '\0';
    else Pad(m, 4), Put32(m, value, big);
  }
  std::string bodyLength;
  Put32(bodyLength, static_cast<std::uint32_t>(m.size() - body), big);
  m.replace(4, 4, bodyLength);
  return m;
}

std::string ReplyFor(Peer peer, std::uint32_t state) {
  using F = std::vector<std::tuple<std::uint8_t, char, std::string>>;
  const F ret = {{5, 'u', "2"}, {8, 'g', "v"}};
  switch (peer) {
    case Peer::Answers: return Message(2, ret, "u", state);
    case Peer::AnswersBigEndian: return Message(2, ret, "u", state, true);
    case Peer::UnknownFields: return Message(2, {{0, 'X', ""}, {5, 'u', "2"}, {0, 'X', ""}, {8, 'g', "v"}}, "u", state, true);
    case Peer::SignalFirst:
      return Message(4, {{3, 's', "NameAcquired"}}, "", 0) + Message(2, {{5, 'u', "1"}}, "", 0) +
             Message(2, ret, "u", state);
    case Peer::Error: return Message(3, {{4, 's', "org.freedesktop.DBus.Error.ServiceUnknown"}, {5, 'u', "2"}}, "", 0);
    case Peer::WrongType: return Message(2, ret, "s", 0);
    default: return {};
  }
}

// Listens at a socket in a temporary directory; unless silent (it never even accepts), serves one
// connection as `peer` says.
class FakeBus {
 public:
  FakeBus(Peer peer, std::uint32_t state) : peer_(peer), state_(state) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, (dir_ / "bus").c_str(), sizeof address.sun_path - 1);
    listener_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
    EXPECT_EQ(::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(::listen(listener_, 4), 0);
    if (peer != Peer::Silent) server_ = std::thread([this] { Serve(); });
  }
  ~FakeBus() {
    if (server_.joinable()) server_.join();
    ::close(listener_);
  }
  std::string Address() const { return "unix:path=" + (dir_ / "bus"); }
  std::string received;  // what the client sent, for a look when a case fails

 private:
  // Reads until `done` says the bytes so far are enough; false when the client went away.
  template <typename Done>
  bool ReadUntil(int fd, Done done) {
    char chunk[512];
    while (!done()) {
      pollfd p{fd, POLLIN, 0};
      if (::poll(&p, 1, 10000) <= 0) return false;  // a client that broke off: no hang
      const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
      if (n <= 0) return false;
      received.append(chunk, static_cast<std::size_t>(n));
    }
    return true;
  }
  // Whether the two calls after BEGIN have arrived whole (the client writes little-endian).
  bool CallsArrived() const {
    std::size_t at = received.find("BEGIN\r\n");
    if (at == std::string::npos) return false;
    at += 7;
    for (int call = 0; call < 2; ++call) {
      if (received.size() < at + 16) return false;
      std::uint32_t body, fields;
      std::memcpy(&body, received.data() + at + 4, 4);
      std::memcpy(&fields, received.data() + at + 12, 4);
      at += (16 + fields + 7) / 8 * 8 + body;
    }
    return received.size() >= at;
  }
  void Serve() {
    pollfd p{listener_, POLLIN, 0};
    if (::poll(&p, 1, 10000) <= 0) return;
    const int fd = ::accept(listener_, nullptr, nullptr);
    if (!ReadUntil(fd, [this] { return received.find("\r\n") != std::string::npos; })) return (void)::close(fd);
    const std::string answer = peer_ == Peer::Rejects ? "REJECTED EXTERNAL\r\n" : "OK 0123456789abcdef0123456789abcdef\r\n";
    ::send(fd, answer.data(), answer.size(), MSG_NOSIGNAL);
    if (peer_ != Peer::Rejects && peer_ != Peer::ClosesAfterSignIn && ReadUntil(fd, [this] { return CallsArrived(); })) {
      const std::string reply = ReplyFor(peer_, state_);
      ::send(fd, reply.data(), reply.size(), MSG_NOSIGNAL);
      char rest[64];
      while (::recv(fd, rest, sizeof rest, 0) > 0) {}  // until the client hangs up
    }
    ::close(fd);
  }

  testsupport::TempDir dir_;
  Peer peer_;
  std::uint32_t state_;
  int listener_ = -1;
  std::thread server_;
};

// A peer that answers ends the wait as soon as it does, so a deadline far above any machine's
// delay keeps the outcome independent of the machine's speed; one that never answers meets a
// short one.
constexpr int kAnswered = 30000;
constexpr int kNeverAnswered = 200;

const platform::BusPropertyQuery kState{"org.freedesktop.NetworkManager", "/org/freedesktop/NetworkManager",
                                        "org.freedesktop.NetworkManager", "State"};

TEST(BusProperty, EveryKindOfPeerEndsTheQuestion) {
  struct Row {
    const char* name;
    Peer peer;
    Outcome outcome;
    std::uint32_t value;
  };
  const Row rows[] = {
      {"answers", Peer::Answers, Outcome::Value, 70},
      {"answers in big-endian order", Peer::AnswersBigEndian, Outcome::Value, 20},
      {"a signal and the greeting's reply come first", Peer::SignalFirst, Outcome::Value, 60},
      {"header fields of kinds yet unknown", Peer::UnknownFields, Outcome::Value, 50},
      {"error reply (no such service)", Peer::Error, Outcome::NoAnswer, 0},
      {"answer of another type", Peer::WrongType, Outcome::NoAnswer, 0},
      {"refuses the sign-in", Peer::Rejects, Outcome::NoAnswer, 0},
      {"hangs up after the sign-in", Peer::ClosesAfterSignIn, Outcome::NoAnswer, 0},
      {"takes the connection and never answers", Peer::Silent, Outcome::Unresponsive, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FakeBus bus(row.peer, row.value);
    const int deadline = row.peer == Peer::Silent ? kNeverAnswered : kAnswered;
    const BusProperty got = platform::ReadUint32Property(bus.Address(), kState, deadline);
    EXPECT_EQ(got.outcome, row.outcome);
    EXPECT_EQ(got.value, row.value);
  }
}

TEST(BusProperty, AddressesWithoutAReachableSocketHaveNoAnswer) {
  const testsupport::TempDir dir;
  for (const std::string& address : std::vector<std::string>{"", "tcp:host=localhost,port=1", "unix:path=" + (dir / "none"), "unix:guid=1234", "unix:path=" + std::string(200, 'x')}) {
    SCOPED_TRACE(address);
    EXPECT_EQ(platform::ReadUint32Property(address, kState, kAnswered).outcome, Outcome::NoAnswer);
  }
}

TEST(BusProperty, TakesTheFirstUnixEntryAndUnescapesItsPath) {
  FakeBus bus(Peer::Answers, 50);
  std::string escaped = bus.Address();
  escaped.replace(escaped.rfind('/') + 1, 1, "%62");  // "b" of "bus"
  const BusProperty got = platform::ReadUint32Property("tcp:host=x,port=1;" + escaped + ",guid=00", kState, kAnswered);
  EXPECT_EQ(got.outcome, Outcome::Value);
  EXPECT_EQ(got.value, 50u);
}

// A % that starts no escape makes the address invalid; read as a NUL it would end the path early
// and reach another socket (here the one of a bus that never answers).
TEST(BusProperty, AnInvalidEscapeMakesTheAddressInvalid) {
  const FakeBus bus(Peer::Silent, 0);
  for (const std::string tail : {"%zz", "%G0", "%", "%6"}) {
    SCOPED_TRACE(tail);
    EXPECT_EQ(platform::ReadUint32Property(bus.Address() + tail, kState, kNeverAnswered).outcome, Outcome::NoAnswer);
  }
}

TEST(OnlineCheck, NetworkManagersStateDecidesAndABusThatNeverAnswersMeansOffline) {
  {
    FakeBus bus(Peer::Answers, 70);
    EXPECT_TRUE(platform::IsInternetConnectedVia(bus.Address(), kAnswered));
  }
  {
    FakeBus bus(Peer::Answers, 20);
    EXPECT_FALSE(platform::IsInternetConnectedVia(bus.Address(), kAnswered));
  }
  {
    // The classic start-up waited here for ever; now the deadline ends the wait.
    FakeBus bus(Peer::Silent, 0);
    EXPECT_FALSE(platform::IsInternetConnectedVia(bus.Address(), kNeverAnswered));
  }
}

// ---- A real bus ----------------------------------------------------------------------------------

// A dbus-daemon of the test's own, and NetworkManager on it when asked: a stand-in made with
// python3-dbus that answers with a given state, or never.
class RealBus {
 public:
  RealBus() {
    const std::string config = dir_.Write("bus.conf", "<busconfig><listen>unix:path=" + dir_ / "bus" +
                                                          "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                                                          "<allow user=\"*\"/><allow own=\"*\"/>"
                                                          "<allow send_destination=\"*\"/><allow receive_sender=\"*\"/>"
                                                          "</policy></busconfig>\n");
    const QString daemon = QStandardPaths::findExecutable("dbus-daemon");
    EXPECT_FALSE(daemon.isEmpty()) << "dbus-daemon is missing: make deps installs it";
    daemon_.start(daemon, {"--nofork", "--print-address=1", QString::fromStdString("--config-file=" + config)});
    address_ = FirstLine(daemon_);
  }
  ~RealBus() {
    Stop(manager_);
    Stop(daemon_);
  }
  const std::string& Address() const { return address_; }
  void StartNetworkManager(const std::string& state) {
    manager_.start("/usr/bin/python3", {AUTORUN_TEST_DATA "/network_manager.py", QString::fromStdString(address_),
                                        QString::fromStdString(state)});
    EXPECT_EQ(FirstLine(manager_), "ready") << manager_.readAllStandardError().toStdString();
  }

 private:
  static std::string FirstLine(QProcess& process) {
    while (!process.canReadLine() && process.waitForReadyRead(30000)) {
    }
    return process.readLine().trimmed().toStdString();
  }
  static void Stop(QProcess& process) {
    if (process.state() == QProcess::NotRunning) return;
    process.terminate();
    if (process.waitForFinished(10000)) return;
    process.kill();
    process.waitForFinished();
  }
  testsupport::TempDir dir_;
  QProcess daemon_, manager_;
  std::string address_;
};

TEST(OnlineCheck, NetworkManagerOnARealBus) {
  struct Row {
    const char* state;  // "" for no NetworkManager on the bus
    Outcome outcome;
    std::uint32_t value;
  };
  const Row rows[] = {{"70", Outcome::Value, 70}, {"60", Outcome::Value, 60}, {"50", Outcome::Value, 50},
                      {"20", Outcome::Value, 20}, {"", Outcome::NoAnswer, 0}, {"silent", Outcome::Unresponsive, 0}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.state);
    RealBus bus;
    ASSERT_EQ(bus.Address().rfind("unix:", 0), 0u) << bus.Address();
    if (*row.state) bus.StartNetworkManager(row.state);
    const int deadline = row.outcome == Outcome::Unresponsive ? kNeverAnswered : kAnswered;
    const BusProperty got = platform::ReadUint32Property(bus.Address(), kState, deadline);
    EXPECT_EQ(got.outcome, row.outcome);
    EXPECT_EQ(got.value, row.value);
    if (row.outcome != Outcome::NoAnswer) {  // where it has no answer, this machine's interfaces decide
      EXPECT_EQ(platform::IsInternetConnectedVia(bus.Address(), deadline), row.value >= 50);
    }
  }
}

}  // namespace
