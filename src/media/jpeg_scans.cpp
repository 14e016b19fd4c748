#include "media/jpeg_scans.h"

#include "platform/files.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace media {
namespace {

constexpr unsigned char kStartOfScan = 0xDA;
constexpr unsigned char kEndOfImage = 0xD9;

// Markers without a length: start of image, restarts and TEM; 0x00 after 0xFF is a stuffed byte.
bool StandsAlone(unsigned char code) {
  return code == 0x00 || code == 0x01 || code == 0xD8 || (code >= 0xD0 && code <= 0xD7);
}

constexpr std::size_t kChunkBytes = std::size_t{256} << 10;

}  // namespace

void JpegScanCounter::OnMarker(unsigned char code) {
  if (code == kEndOfImage) {
    state_ = State::End;
  } else if (StandsAlone(code)) {
    state_ = State::Seek;
  } else {
    if (code == kStartOfScan) ++scans_;
    state_ = State::LengthHigh;
  }
}

// Between markers and inside entropy-coded data alike, only 0xFF can begin something, so the walk
// searches for it; a scan's data thus needs no state of its own.
void JpegScanCounter::Feed(std::string_view bytes) {
  const auto* at = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* end = at + bytes.size();
  while (at < end && state_ != State::End) {
    switch (state_) {
      case State::Seek: {
        const void* ff = std::memchr(at, 0xFF, static_cast<std::size_t>(end - at));
        if (!ff) return;
        at = static_cast<const unsigned char*>(ff) + 1;
        state_ = State::AfterFF;
        break;
      }
      case State::AfterFF:
        if (*at != 0xFF) OnMarker(*at);  // a run of 0xFF is fill before the code
        ++at;
        break;
      case State::LengthHigh:
        length_ = static_cast<unsigned int>(*at++) << 8;
        state_ = State::LengthLow;
        break;
      case State::LengthLow:
        length_ |= *at++;
        skipLeft_ = length_ >= 2 ? length_ - 2 : 0;
        state_ = State::Skip;
        break;
      case State::Skip: {
        const auto step = std::min<std::uint64_t>(skipLeft_, static_cast<std::uint64_t>(end - at));
        at += step;
        skipLeft_ -= step;
        if (skipLeft_ == 0) state_ = State::Seek;
        break;
      }
      case State::End:
        return;
    }
  }
}

ScanCount CountJpegScans(const std::string& path, std::string_view head, int maxScans, std::int64_t maxBytes) {
  JpegScanCounter counter;
  ScanCount count;
  head = head.substr(0, static_cast<std::size_t>(std::max<std::int64_t>(maxBytes, 0)));
  counter.Feed(head);
  count.bytesRead = static_cast<std::int64_t>(head.size());
  while (!counter.atEnd() && counter.scans() <= maxScans) {
    if (count.bytesRead >= maxBytes) {
      count.overCap = true;
      break;
    }
    const auto want = static_cast<std::size_t>(std::min<std::int64_t>(kChunkBytes, maxBytes - count.bytesRead));
    const std::optional<std::string> chunk = platform::ReadAt(path, count.bytesRead, want);
    if (!chunk || chunk->empty()) break;
    count.bytesRead += static_cast<std::int64_t>(chunk->size());
    counter.Feed(*chunk);
  }
  count.scans = counter.scans();
  return count;
}

}  // namespace media
