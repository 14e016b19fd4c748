#include "peer_avi.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

namespace bench {
namespace {

// One open file; every field is a seek and a read.
class FieldReader {
 public:
  explicit FieldReader(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
  ~FieldReader() {
    if (fd_ >= 0) ::close(fd_);
  }
  FieldReader(const FieldReader&) = delete;
  FieldReader& operator=(const FieldReader&) = delete;

  bool IsOpen() const { return fd_ >= 0; }

  // False unless all `size` bytes at `offset` were read; `out` is then left zeroed.
  bool Read(std::int64_t offset, unsigned char* out, std::size_t size) {
    std::memset(out, 0, size);
    if (offset < 0 || ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0) return false;
    if (::read(fd_, out, size) == static_cast<ssize_t>(size)) return true;
    std::memset(out, 0, size);
    return false;
  }
  std::int32_t Int32(std::int64_t offset) {
    unsigned char b[4];
    Read(offset, b, 4);
    const std::uint32_t raw = b[0] | (b[1] << 8) | (b[2] << 16) | (std::uint32_t{b[3]} << 24);
    std::int32_t value;
    std::memcpy(&value, &raw, sizeof value);
    return value;
  }
  std::uint16_t UInt16(std::int64_t offset) {
    unsigned char b[2];
    Read(offset, b, 2);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
  }
  bool FormTypeIsAvi() {
    unsigned char b[4];
    return Read(8, b, 4) && std::memcmp(b, "AVI ", 4) == 0;
  }

 private:
  int fd_;
};

}  // namespace

bool PeerIsValidAvi(const std::string& path) {
  FieldReader file(path);
  return file.IsOpen() && file.FormTypeIsAvi();
}

std::optional<media::AviFacts> PeerReadAviFacts(const std::string& path) {
  FieldReader file(path);
  if (!file.IsOpen() || !file.FormTypeIsAvi()) return std::nullopt;
  media::AviFacts facts;
  facts.RiffSize = file.Int32(4);
  const std::int64_t s = file.Int32(28);
  facts.MicroSecPerFrame = file.Int32(32);
  facts.TotalFrames = file.Int32(48);
  facts.FrameWidth = file.Int32(64);
  facts.FrameHeight = file.Int32(68);
  const std::int64_t l = file.Int32(36 + s);
  unsigned char code[4];
  if (file.Read(56 + s, code, 4)) facts.VideoCodec.assign(reinterpret_cast<char*>(code), 4);
  const std::int64_t h = file.Int32(56 + s + l);
  const std::int64_t format = 68 + s + l + h;
  facts.AudioFormatTag = file.UInt16(format);
  facts.AudioChannels = file.UInt16(format + 2);
  facts.AudioSampleRate = file.Int32(format + 4);
  facts.AudioBytesPerSec = file.Int32(format + 8);
  return facts;
}

}  // namespace bench
