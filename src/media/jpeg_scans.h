#pragma once
// Counts the scans of a JPEG file from its markers alone, without decoding a byte of picture data.
// A progressive file's cost lies in its scans, and the decoder only learns how many there are as it
// meets them, after decoding all the earlier ones: counting first lets a file with too many be
// refused before any of that work.
#include <cstdint>
#include <string>
#include <string_view>

namespace media {

// A streaming walk over a JPEG file's markers: marker segments are skipped by their length (so a
// thumbnail inside an APP segment is not counted), entropy-coded data is searched for the next
// marker (stuffed 0xFF 0x00 bytes and restart markers pass).
class JpegScanCounter {
 public:
  // Walks the next bytes of the file, in order, in pieces of any size.
  void Feed(std::string_view bytes);
  int scans() const { return scans_; }            // start-of-scan markers met so far
  bool atEnd() const { return state_ == State::End; }  // the end-of-image marker was met

 private:
  enum class State { Seek, AfterFF, LengthHigh, LengthLow, Skip, End };
  void OnMarker(unsigned char code);
  State state_ = State::Seek;
  int scans_ = 0;
  unsigned int length_ = 0;     // of the marker segment being read
  std::uint64_t skipLeft_ = 0;  // of its body
};

struct ScanCount {
  int scans = 0;              // counted; more than `maxScans` means there are too many
  std::int64_t bytesRead = 0;
  bool overCap = false;       // the walk reached `maxBytes` before the end of the image
};

// Walks the file at `path` from its start until its end-of-image marker, its end, more than
// `maxScans` scans, or `maxBytes` read, whichever comes first. `head` is what the caller already
// read of the file from its start (a poster usually lies whole in it), so only what follows is read
// again. A file that cannot be read counts as far as it could be read (the decoder then reports why).
ScanCount CountJpegScans(const std::string& path, std::string_view head, int maxScans, std::int64_t maxBytes);

}  // namespace media
