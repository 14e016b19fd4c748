// Counting a JPEG file's scans from its markers, whatever the pieces the file arrives in.
#include "media/jpeg_scans.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>

#include "media/jpeg_samples.h"

namespace {

using namespace jpegsamples;

// A segment of `code` whose body holds `body`.
std::string Segment(char code, const std::string& body) {
  const std::size_t length = body.size() + 2;
  return std::string("\xFF", 1) + code + static_cast<char>(length >> 8) + static_cast<char>(length & 0xFF) + body;
}

const std::string kSoi("\xFF\xD8", 2);
const std::string kEoi("\xFF\xD9", 2);
const std::string kSos = Segment('\xDA', std::string("\x01\x01\x00\x00\x3F\x00", 6));

TEST(JpegScanCounter, CountsScansInPiecesOfAnySize) {
  const std::string thumbnail = kSoi + kSos + "data" + kSos + kEoi;
  const struct {
    const char* name;
    std::string bytes;
    int scans;
    bool atEnd;
  } rows[] = {
      {"an encoder's progressive file", Encode({32, 32, Model::Rgb, true, {}}), 10, true},
      {"442 scans", Encode({16, 16, Model::Grey, false, ManyScans(6)}), 442, true},
      {"a thumbnail inside an APP segment is not counted", kSoi + Segment('\xE1', thumbnail) + kSos + "x" + kEoi, 1,
       true},
      {"stuffed bytes, restarts and fill in the data", kSoi + kSos + std::string("\xFF\x00\xFF\xD3\xFF\xFF\xFF\xDA\x00\x02", 10) + kEoi,
       2, true},
      {"junk before a marker", kSoi + "junk" + kSos + kEoi, 1, true},
      {"no end marker", kSoi + kSos + "data", 1, false},
      {"a length cut short", kSoi + "\xFF\xDA\x00", 1, false},
      {"zeros after the start", kSoi + std::string(1000, '\0'), 0, false},
      {"scans after the end are not read", kSoi + kSos + kEoi + kSos + kSos, 1, true},
  };
  for (const auto& row : rows) {
    for (std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{7}, row.bytes.size() + 1}) {
      SCOPED_TRACE(std::string(row.name) + ", pieces of " + std::to_string(piece));
      media::JpegScanCounter counter;
      for (std::size_t at = 0; at < row.bytes.size(); at += piece)
        counter.Feed(std::string_view(row.bytes).substr(at, piece));
      EXPECT_EQ(counter.scans(), row.scans);
      EXPECT_EQ(counter.atEnd(), row.atEnd);
    }
  }
}

// The walk over a file stops at the first of: its end marker, one scan past the limit, the byte cap.
TEST(JpegScanCounter, TheFileIsWalkedNoFurtherThanNeeded) {
  const std::string scans = Encode({16, 16, Model::Grey, false, ManyScans(6)});
  const std::string tail(std::size_t{1} << 20, 'z');
  const std::int64_t oneRead = 256 << 10;
  const struct {
    const char* name;
    std::string bytes;
    int maxScans;
    std::int64_t maxBytes;
    int scans;
    std::int64_t bytesAtMost;
    bool overCap;
  } rows[] = {
      {"to the end marker, not the junk after it", scans + tail, 500, 1 << 30, 442, oneRead, false},
      {"one past the limit", scans, 100, 1 << 30, 101, std::int64_t(scans.size()), false},
      {"the cap", kSoi + tail, 500, 1000, 0, 1000, true},
      {"a file shorter than the cap", kSoi + kSos, 500, 1000, 1, 14, false},
  };
  testsupport::TempDir dir;
  for (const auto& row : rows) {
    const std::string path = dir.Write("poster.jpg", row.bytes);
    // The walk reads the file itself, or starts from bytes the caller already read of it.
    for (const std::size_t given : {std::size_t{0}, std::size_t{4096}}) {
      SCOPED_TRACE(std::string(row.name) + ", given " + std::to_string(given));
      const std::string_view head = std::string_view(row.bytes).substr(0, given);
      const media::ScanCount count = media::CountJpegScans(path, head, row.maxScans, row.maxBytes);
      EXPECT_GE(count.scans, row.scans);
      if (!row.overCap && row.scans <= row.maxScans) {
        EXPECT_EQ(count.scans, row.scans);
      }
      EXPECT_LE(count.bytesRead, row.bytesAtMost + static_cast<std::int64_t>(given));  // no read more
      EXPECT_EQ(count.overCap, row.overCap);
    }
  }
}

}  // namespace
