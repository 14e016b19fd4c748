#include "platform/bus_posix.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>

#include "platform/fd_posix.h"
#include "platform/text.h"
#include "platform/url.h"

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;
using Outcome = BusProperty::Outcome;

constexpr std::uint32_t kHelloSerial = 1;
constexpr std::uint32_t kQuerySerial = 2;
constexpr std::size_t kMessageMax = 1 << 20;  // a property's answer is a few dozen bytes
enum MessageType : std::uint8_t { kMethodCall = 1, kMethodReturn = 2, kError = 3 };
enum HeaderField : std::uint8_t { kPath = 1, kInterface = 2, kMember = 3, kDestination = 6, kReplySerial = 5, kSignature = 8 };
constexpr std::uint8_t kNoAutoStart = 0x2;

// ---- Addresses ----------------------------------------------------------------------------------

// The socket address of the first unix: entry; nullopt when there is none.
std::optional<std::pair<sockaddr_un, socklen_t>> UnixAddress(const std::string& address) {
  for (const std::string_view entry : NonEmptyPieces(address, ';')) {
    if (!entry.starts_with("unix:")) continue;
    for (const std::string_view pair : NonEmptyPieces(entry.substr(5), ',')) {
      const bool abstract = pair.starts_with("abstract=");
      if (!abstract && !pair.starts_with("path=")) continue;
      // A % that starts no escape makes the whole address invalid, as the bus library takes it.
      const std::optional<std::string> unescaped = PercentDecode(pair.substr(pair.find('=') + 1));
      if (!unescaped) return std::nullopt;
      const std::string& name = *unescaped;
      sockaddr_un socket{};
      socket.sun_family = AF_UNIX;
      const std::size_t offset = abstract ? 1 : 0;  // an abstract name starts with a NUL
      if (name.empty() || offset + name.size() >= sizeof socket.sun_path) return std::nullopt;
      std::memcpy(socket.sun_path + offset, name.data(), name.size());
      return std::pair(socket, static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + name.size() +
                                                      (abstract ? 0 : 1)));
    }
  }
  return std::nullopt;
}

// ---- Messages -----------------------------------------------------------------------------------

class Writer {
 public:
  std::string bytes;
  void Align(std::size_t n) { bytes.resize((bytes.size() + n - 1) / n * n, '\0'); }
  void Byte(std::uint8_t v) { bytes += static_cast<char>(v); }
  void U32(std::uint32_t v) {
    Align(4);
    for (int i = 0; i < 4; ++i) Byte(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void PatchU32(std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(v >> (8 * i));
  }
  void String(const std::string& s) {
    U32(static_cast<std::uint32_t>(s.size()));
    bytes += s;
    Byte(0);
  }
  void Signature(const std::string& s) {
    Byte(static_cast<std::uint8_t>(s.size()));
    bytes += s;
    Byte(0);
  }
  void Field(HeaderField code, char type, const std::string& value) {
    Align(8);
    Byte(code);
    Signature(std::string(1, type));
    if (type == 'g') Signature(value);
    else String(value);
  }
};

// A method call in little-endian order; `body` holds string arguments only.
std::string MethodCall(std::uint32_t serial, const std::string& destination, const std::string& path,
                       const std::string& interface, const std::string& member,
                       const std::initializer_list<std::string>& body) {
  Writer w;
  for (std::uint8_t b : {std::uint8_t('l'), std::uint8_t(kMethodCall), kNoAutoStart, std::uint8_t(1)}) w.Byte(b);
  w.U32(0);  // body length, patched below
  w.U32(serial);
  w.U32(0);  // header fields' length, patched below
  w.Field(kPath, 'o', path);
  w.Field(kInterface, 's', interface);
  w.Field(kMember, 's', member);
  w.Field(kDestination, 's', destination);
  if (body.size() > 0) w.Field(kSignature, 'g', std::string(body.size(), 's'));
  w.PatchU32(12, static_cast<std::uint32_t>(w.bytes.size() - 16));
  w.Align(8);
  const std::size_t bodyStart = w.bytes.size();
  for (const std::string& argument : body) w.String(argument);
  w.PatchU32(4, static_cast<std::uint32_t>(w.bytes.size() - bodyStart));
  return w.bytes;
}

// Reads a received message in either byte order; every read is checked against its end.
class Reader {
 public:
  Reader(const std::string& bytes, bool bigEndian) : bytes_(bytes), big_(bigEndian) {}
  bool ok() const { return ok_; }
  std::size_t pos() const { return pos_; }
  void Seek(std::size_t at) { pos_ = at; }
  void Align(std::size_t n) { pos_ = (pos_ + n - 1) / n * n; }
  std::uint8_t Byte() {
    if (pos_ >= bytes_.size()) return Fail();
    return static_cast<std::uint8_t>(bytes_[pos_++]);
  }
  std::uint32_t U32() {
    Align(4);
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
      const std::uint32_t b = Byte();
      v |= big_ ? b << (8 * (3 - i)) : b << (8 * i);
    }
    return v;
  }
  std::string Signature() {
    const std::uint8_t length = Byte();
    return Take(length + 1u).substr(0, length);
  }
  void SkipString() { Take(U32() + 1u); }

  // Skips one value of the complete type that `signature` starts with, and that type; false
  // (and the reader failed) when it starts with none.
  bool SkipValue(std::string_view& signature, int depth = 0) {
    const std::size_t length = TypeLength(signature, depth);
    if (length == 0) return Fail(), false;
    const std::string_view type = signature.substr(0, length);
    signature.remove_prefix(length);
    switch (type.front()) {
      case 'a': {
        const std::uint32_t bytes = U32();
        Align(Alignment(type[1]));  // even for an empty array
        Take(bytes);
        break;
      }
      case '(': case '{': {
        Align(8);
        for (std::string_view members = type.substr(1, length - 2); ok_ && !members.empty();)
          SkipValue(members, depth + 1);
        break;
      }
      case 'v': {
        const std::string inner = Signature();
        std::string_view rest = inner;
        if (ok_ && (!SkipValue(rest, depth + 1) || !rest.empty())) Fail();
        break;
      }
      case 's': case 'o': SkipString(); break;
      case 'g': Signature(); break;
      default:
        Align(Alignment(type.front()));
        Take(Alignment(type.front()));  // the fixed-size types are as long as their alignment
        break;
    }
    return ok_;
  }

 private:
  // The protocol nests arrays and structures 32 deep each.
  static constexpr int kMaxDepth = 64;

  static std::size_t Alignment(char type) {
    switch (type) {
      case 'y': case 'g': case 'v': return 1;
      case 'n': case 'q': return 2;
      case 'x': case 't': case 'd': case '(': case '{': return 8;
      default: return 4;  // b i u h s o a
    }
  }

  // The length of the complete type `signature` starts with; 0 when there is none.
  static std::size_t TypeLength(std::string_view signature, int depth) {
    if (signature.empty() || depth > kMaxDepth) return 0;
    const char type = signature.front();
    if (std::string_view("ybnqiuxtdhsogv").find(type) != std::string_view::npos) return 1;
    if (type == 'a') {
      const std::size_t element = TypeLength(signature.substr(1), depth + 1);
      return element == 0 ? 0 : element + 1;
    }
    if (type != '(' && type != '{') return 0;
    const char close = type == '(' ? ')' : '}';
    std::size_t at = 1;
    while (at < signature.size() && signature[at] != close) {
      const std::size_t member = TypeLength(signature.substr(at), depth + 1);
      if (member == 0) return 0;
      at += member;
    }
    return at < signature.size() && at > 1 ? at + 1 : 0;
  }

  std::uint8_t Fail() {
    ok_ = false;
    pos_ = bytes_.size();
    return 0;
  }
  std::string Take(std::size_t n) {
    if (n > bytes_.size() - pos_) {
      Fail();
      return {};
    }
    pos_ += n;
    return bytes_.substr(pos_ - n, n);
  }
  const std::string& bytes_;
  bool big_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

struct Header {
  std::uint8_t type = 0;
  std::uint32_t replySerial = 0;
  std::string signature;
  std::size_t bodyStart = 0;
};

// The length of the first whole message in `bytes`: 0 while it is incomplete, nullopt when it
// cannot be one.
std::optional<std::size_t> MessageLength(const std::string& bytes) {
  if (bytes.size() < 16) return 0;
  if (bytes[0] != 'l' && bytes[0] != 'B') return std::nullopt;
  Reader r(bytes, bytes[0] == 'B');
  r.Seek(4);
  const std::size_t body = r.U32();
  r.Seek(12);
  const std::size_t fields = r.U32();
  if (body > kMessageMax || fields > kMessageMax) return std::nullopt;
  const std::size_t total = (16 + fields + 7) / 8 * 8 + body;
  return bytes.size() < total ? 0 : total;
}

std::optional<Header> ReadHeader(Reader& r, std::size_t fieldsEnd) {
  Header h;
  r.Seek(1);
  h.type = r.Byte();
  r.Seek(16);
  while (r.ok() && r.pos() < fieldsEnd) {
    r.Align(8);
    const std::uint8_t code = r.Byte();
    const std::string type = r.Signature();
    if (code == kReplySerial && type == "u") {
      h.replySerial = r.U32();
    } else if (code == kSignature && type == "g") {
      h.signature = r.Signature();
    } else {
      // Every other field, of a kind the protocol may yet add, is passed over.
      std::string_view rest = type;
      if (!r.SkipValue(rest) || !rest.empty()) return std::nullopt;
    }
  }
  h.bodyStart = (fieldsEnd + 7) / 8 * 8;
  return r.ok() ? std::optional(h) : std::nullopt;
}

// What one whole message says about the query: nullopt when it is about something else.
std::optional<BusProperty> Judge(const std::string& message) {
  Reader r(message, message[0] == 'B');
  r.Seek(12);
  const std::size_t fieldsEnd = 16 + r.U32();
  const std::optional<Header> h = ReadHeader(r, fieldsEnd);
  if (!h) return BusProperty{};
  if (h->type != kMethodReturn && h->type != kError) return std::nullopt;  // a signal
  if (h->replySerial == kHelloSerial) return h->type == kError ? std::optional(BusProperty{}) : std::nullopt;
  if (h->replySerial != kQuerySerial) return std::nullopt;
  if (h->type == kError || h->signature != "v") return BusProperty{};
  r.Seek(h->bodyStart);
  if (r.Signature() != "u") return BusProperty{};
  const std::uint32_t value = r.U32();
  return r.ok() ? BusProperty{Outcome::Value, value} : BusProperty{};
}

// ---- The exchange -------------------------------------------------------------------------------

class Connection {
 public:
  explicit Connection(Clock::time_point deadline)
      : deadline_(deadline), fd_(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)) {}

  // Unresponsive: the bus keeps us waiting; NoAnswer: there is none to talk to.
  Outcome Open(const std::pair<sockaddr_un, socklen_t>& address) {
    if (fd_.get() < 0) return Outcome::NoAnswer;
    if (::connect(fd_.get(), reinterpret_cast<const sockaddr*>(&address.first), address.second) == 0)
      return Outcome::Value;
    if (errno == EAGAIN) return Outcome::Unresponsive;  // a full backlog: nobody takes connections
    if (errno != EINPROGRESS || !Wait(POLLOUT)) return errno == ETIMEDOUT ? Outcome::Unresponsive : Outcome::NoAnswer;
    int error = 0;
    socklen_t length = sizeof error;
    return ::getsockopt(fd_.get(), SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0 ? Outcome::Value
                                                                                               : Outcome::NoAnswer;
  }

  bool Send(const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
      const ssize_t n = ::send(fd_.get(), bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
      if (n > 0) sent += static_cast<std::size_t>(n);
      else if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
      else if (n < 0 && errno == EAGAIN && !Wait(POLLOUT)) return false;
    }
    return true;
  }

  // Appends what arrives to `in`; false when the peer closed, failed or the deadline passed.
  bool Receive() {
    if (!Wait(POLLIN)) return false;
    char chunk[4096];
    const ssize_t n = ::recv(fd_.get(), chunk, sizeof chunk, 0);
    if (n <= 0) return n < 0 && (errno == EAGAIN || errno == EINTR);
    in.append(chunk, static_cast<std::size_t>(n));
    return true;
  }

  bool TimedOut() const { return timedOut_; }
  std::string in;

 private:
  bool Wait(short events) {
    for (;;) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline_ - Clock::now()).count();
      if (left <= 0) {
        timedOut_ = true;
        errno = ETIMEDOUT;
        return false;
      }
      pollfd p{fd_.get(), events, 0};
      const int ready = ::poll(&p, 1, static_cast<int>(left));
      if (ready > 0) return true;
      if (ready < 0 && errno != EINTR) return false;
    }
  }

  Clock::time_point deadline_;
  Fd fd_;
  bool timedOut_ = false;
};

std::string HexOfUid() {
  std::string hex;
  for (char c : std::to_string(::getuid())) hex += HexByte(static_cast<unsigned char>(c), true);
  return hex;
}

// Signs in with the process's user id; true once the bus said OK.
bool SignIn(Connection& c) {
  if (!c.Send(std::string(1, '\0') + "AUTH EXTERNAL " + HexOfUid() + "\r\n")) return false;
  std::size_t end;
  while ((end = c.in.find("\r\n")) == std::string::npos) {
    if (c.in.size() > 512 || !c.Receive()) return false;
  }
  const bool accepted = c.in.rfind("OK ", 0) == 0;
  c.in.erase(0, end + 2);
  return accepted;
}

BusProperty Ask(Connection& c, const BusPropertyQuery& q) {
  const std::string calls =
      std::string("BEGIN\r\n") +
      MethodCall(kHelloSerial, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "Hello", {}) +
      MethodCall(kQuerySerial, q.destination, q.path, "org.freedesktop.DBus.Properties", "Get",
                 {q.interface, q.property});
  if (!c.Send(calls)) return {};
  for (;;) {
    const std::optional<std::size_t> length = MessageLength(c.in);
    if (!length) return {};
    if (*length == 0) {
      if (!c.Receive()) return {};
      continue;
    }
    const std::optional<BusProperty> verdict = Judge(c.in.substr(0, *length));
    if (verdict) return *verdict;
    c.in.erase(0, *length);
  }
}

}  // namespace

BusProperty ReadUint32Property(const std::string& address, const BusPropertyQuery& query, int deadlineMs) {
  const auto socketAddress = UnixAddress(address);
  if (!socketAddress) return {};
  Connection connection(Clock::now() + std::chrono::milliseconds(deadlineMs));
  const Outcome opened = connection.Open(*socketAddress);
  BusProperty result;
  if (opened != Outcome::Value) result.outcome = opened;
  else if (SignIn(connection)) result = Ask(connection, query);
  if (connection.TimedOut()) result.outcome = Outcome::Unresponsive;
  return result;
}

std::string SystemBusAddress() {
  const char* address = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
  return address != nullptr && *address != '\0' ? address : "unix:path=/var/run/dbus/system_bus_socket";
}

}  // namespace platform
