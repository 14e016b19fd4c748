#include "media/avi.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "platform/files.h"
#include "support/avi_bytes.h"
#include "support/temp_dir.h"

namespace {

// The validity test and the facts as the launcher reads them from a file.
bool IsValidAvi(const std::string& path) {
  return media::IsAviFormType(platform::ReadAt(path, media::kFormTypeOffset, media::kFormTypeSize).value_or(""));
}
std::optional<media::AviFacts> ReadAviFile(const std::string& path) {
  return media::ReadAviFactsWith([&](std::int64_t offset, std::size_t count) { return platform::ReadAt(path, offset, count); },
                                 platform::FileSize(path).value_or(-1));
}

using media::AviFacts;
using media::kAviHeadBlock;

using Movie = testsupport::AviMovie;

std::string Build(const Movie& m) { return testsupport::AviBytes(m); }

AviFacts Expected(const Movie& m, std::int32_t riffSize) {
  AviFacts f;
  f.RiffSize = riffSize;
  f.MicroSecPerFrame = m.microSecPerFrame;
  f.TotalFrames = m.totalFrames;
  f.FrameWidth = m.width;
  f.FrameHeight = m.height;
  f.VideoCodec = m.handler;
  f.VideoStream = 0;
  f.FileSize = std::int64_t{riffSize} + 8;
  if (!m.audio) return f;
  f.AudioStream = 1;
  f.AudioFormatTag = m.formatTag;
  f.AudioChannels = m.channels;
  f.AudioSampleRate = m.sampleRate;
  f.AudioBytesPerSec = m.bytesPerSec;
  return f;
}

std::int32_t RiffSizeOf(const std::string& file) { return static_cast<std::int32_t>(file.size() - 8); }

// A file held in memory, counting the reads and rejecting requests no sound reader would make.
struct MemoryFile {
  std::string bytes;
  int reads = 0;
  std::int64_t size() const { return static_cast<std::int64_t>(bytes.size()); }
  media::ReadAtFn Reader() {
    return [this](std::int64_t offset, std::size_t count) -> std::optional<std::string> {
      ++reads;
      EXPECT_GE(offset, 0);
      EXPECT_LE(offset + static_cast<std::int64_t>(count), std::max<std::int64_t>(media::kMaxHeaderBytes, kAviHeadBlock));
      if (offset < 0 || offset >= static_cast<std::int64_t>(bytes.size())) return std::string();
      return bytes.substr(static_cast<std::size_t>(offset), count);
    };
  }
};

// Writes `value` little-endian at `offset` of `bytes`.
void Poke(std::string& bytes, std::size_t offset, std::int32_t value) {
  std::uint32_t raw;
  std::memcpy(&raw, &value, 4);
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<char>((raw >> (8 * i)) & 0xFF);
}

TEST(AviReader, StandardTwoStreamLayoutIsReadInOneRead) {
  const Movie movie;
  MemoryFile file{Build(movie)};
  ASSERT_EQ(file.bytes.substr(112, 4), "XVID");  // handler of a 56-byte main header at 112
  const auto facts = media::ReadAviFactsWith(file.Reader(), file.size());
  ASSERT_TRUE(facts);
  EXPECT_EQ(*facts, Expected(movie, RiffSizeOf(file.bytes)));
  EXPECT_EQ(file.reads, 1);
}

TEST(AviReader, FactsFromVariedMovies) {
  struct Row {
    const char* name;
    Movie movie;
  };
  Movie lowerCase;
  lowerCase.handler = "xvid";
  Movie dib;
  dib.handler = "DIB ";
  dib.width = 720;
  dib.height = 576;
  Movie highBit;  // counts and rates of 2^31 and above stay unsigned; the frame size is signed
  highBit.totalFrames = INT32_MIN;
  highBit.width = -1;
  highBit.formatTag = 0xFFFF;
  highBit.channels = 0x8001;
  highBit.bytesPerSec = INT32_MIN + 5;
  Movie bigMainHeader;  // a longer main header moves every stream position, S is used as stored
  bigMainHeader.extraMainHeader = 13;
  Movie bigAudioHeader;
  bigAudioHeader.extraAudioHeader = 7;
  const Row rows[] = {{"lower-case handler kept", lowerCase},
                      {"handler with a blank", dib},
                      {"high-bit values", highBit},
                      {"odd main header size", bigMainHeader},
                      {"odd audio header size", bigAudioHeader}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    MemoryFile file{Build(row.movie)};
    const auto facts = media::ReadAviFactsWith(file.Reader(), file.size());
    ASSERT_TRUE(facts);
    EXPECT_EQ(*facts, Expected(row.movie, RiffSizeOf(file.bytes)));
    EXPECT_EQ(file.reads, 1);
  }
}

TEST(AviReader, AVideoOnlyMovieHasNoAudioFacts) {
  Movie movie;
  movie.audio = false;
  MemoryFile file{Build(movie)};
  const auto facts = media::ReadAviFactsWith(file.Reader(), file.size());
  ASSERT_TRUE(facts);
  EXPECT_EQ(*facts, Expected(movie, RiffSizeOf(file.bytes)));
  EXPECT_EQ(facts->AudioStream, -1);
}

TEST(AviReader, FormTypeDecidesValidity) {
  const std::string good = Build(Movie{});
  struct Row {
    const char* name;
    std::string bytes;
    bool valid;
  };
  std::string anyPrefix = good;
  anyPrefix.replace(0, 8, "\xff\x00zz\x01\x02\x03\x04", 8);
  std::string lower = good;
  lower.replace(8, 4, "avi ");
  std::string avix = good;
  avix.replace(8, 4, "AVIX");
  const Row rows[] = {{"standard", good, true},          {"any bytes 0 to 7", anyPrefix, true},
                      {"lower case", lower, false},       {"AVIX", avix, false},
                      {"exactly 12 bytes", good.substr(0, 12), true}};
  testsupport::TempDir dir;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string path = dir.Write("movie.avi", row.bytes);
    EXPECT_EQ(IsValidAvi(path), row.valid);
    EXPECT_EQ(ReadAviFile(path).has_value(), row.valid);
  }
}

TEST(AviReader, ShortAndUnreadableFilesAreInvalid) {
  const std::string good = Build(Movie{});
  testsupport::TempDir dir;
  for (std::size_t size = 0; size < 12; ++size) {
    SCOPED_TRACE(size);
    const std::string path = dir.Write("short.avi", good.substr(0, size));
    EXPECT_FALSE(IsValidAvi(path));
    EXPECT_FALSE(ReadAviFile(path));
  }
  EXPECT_FALSE(IsValidAvi(dir / "missing.avi"));
  EXPECT_FALSE(ReadAviFile(dir / "missing.avi"));
  const std::string folder = dir.MakeDir("folder.avi");
  EXPECT_FALSE(IsValidAvi(folder));
  EXPECT_FALSE(ReadAviFile(folder));
}

TEST(AviReader, EveryCutLengthYieldsWholeFieldsOrZeros) {
  const Movie movie;
  const std::string full = Build(movie);
  const AviFacts all = Expected(movie, RiffSizeOf(full));
  for (std::size_t size = 12; size <= 320; ++size) {
    SCOPED_TRACE(size);
    MemoryFile file{full.substr(0, size)};
    const auto facts = media::ReadAviFactsWith(file.Reader(), file.size());
    ASSERT_TRUE(facts);
    // A field is read only when all its bytes lie in the file, a stream known only when its type does.
    auto in = [size](std::size_t offset, std::size_t width) { return offset + width <= size; };
    AviFacts want;
    want.FileSize = static_cast<std::int64_t>(size);
    if (in(4, 4)) want.RiffSize = all.RiffSize;
    if (in(32, 4)) want.MicroSecPerFrame = all.MicroSecPerFrame;
    if (in(48, 4)) want.TotalFrames = all.TotalFrames;
    if (in(64, 4)) want.FrameWidth = all.FrameWidth;
    if (in(68, 4)) want.FrameHeight = all.FrameHeight;
    if (in(108, 4)) want.VideoStream = 0;
    if (in(112, 4)) want.VideoCodec = all.VideoCodec;
    if (in(232, 4)) want.AudioStream = 1;
    if (in(296, 2)) want.AudioFormatTag = all.AudioFormatTag;
    if (in(298, 2)) want.AudioChannels = all.AudioChannels;
    if (in(300, 4)) want.AudioSampleRate = all.AudioSampleRate;
    if (in(304, 4)) want.AudioBytesPerSec = all.AudioBytesPerSec;
    EXPECT_EQ(*facts, want);
    EXPECT_EQ(file.reads, 1);  // a short first read already holds the whole file
  }
}

// Sizes that point anywhere make the reader skip what it cannot place; it never reads outside the
// file or past the header list's first kMaxHeaderBytes, and never loops.
TEST(AviReader, HostileSizesReadNothingOutsideTheFile) {
  const std::string good = Build(Movie{});
  const AviFacts standard = Expected(Movie{}, RiffSizeOf(good));
  constexpr std::size_t kList = 16, kS = 28, kL = 92, kH = 228;  // where the sizes are stored
  struct Row {
    const char* name;
    std::size_t at;
    std::uint32_t value;
    int video, audio;  // the streams still found
  };
  const Row rows[] = {
      {"header list empty", kList, 0, -1, -1},
      {"header list of 4 GiB", kList, 0xFFFFFFFF, 0, 1},
      {"S huge", kS, 0x7FFFFFFF, -1, -1},
      {"S of 4 GiB", kS, 0xFFFFFFFF, -1, -1},
      {"S points into the main header", kS, 8, -1, -1},
      {"L huge", kL, 0x7FFFFFFF, 0, -1},
      {"L of 0", kL, 0, -1, -1},  // an empty first stream list, and the walk lost inside it
      {"H huge", kH, 0x7FFFFFFF, 0, 1},
      {"H past the audio format", kH, 100, 0, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    MemoryFile file{good};
    Poke(file.bytes, row.at, static_cast<std::int32_t>(row.value));
    const auto facts = media::ReadAviFactsWith(file.Reader(), file.size());
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->FrameWidth, standard.FrameWidth);  // fixed offsets are never disturbed
    EXPECT_EQ(facts->TotalFrames, standard.TotalFrames);
    EXPECT_EQ(facts->VideoStream, row.video);
    EXPECT_EQ(facts->AudioStream, row.audio);
    EXPECT_EQ(facts->VideoCodec, row.video < 0 ? std::string(4, '\0') : "XVID");
    EXPECT_LE(file.reads, 1);
  }
}

TEST(AviReader, AHeaderListBeyondTheFirstBlockCostsOneReadMore) {
  struct Row {
    const char* name;
    std::size_t extraMain;
    std::size_t extraAudio;
  };
  const Row rows[] = {
      {"audio format beyond the block", 0, 4000},
      {"audio format across the block's end", 0, 3798},  // tag at 4094, rest beyond
      {"both stream lists beyond the block", 5000, 0},
  };
  testsupport::TempDir dir;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Movie movie;
    movie.extraMainHeader = row.extraMain;
    movie.extraAudioHeader = row.extraAudio;
    movie.movieData = 20000;
    MemoryFile file{Build(movie)};
    const auto facts = media::ReadAviFactsWith(file.Reader(), file.size());
    ASSERT_TRUE(facts);
    EXPECT_EQ(*facts, Expected(movie, RiffSizeOf(file.bytes)));
    EXPECT_EQ(file.reads, 2);

    // The same facts from a real file through the platform's reads.
    EXPECT_EQ(ReadAviFile(dir.Write("movie.avi", file.bytes)), facts);
  }
}

TEST(AviReader, OrdinaryMovieOnDiskTakesOneRead) {
  Movie movie;
  movie.movieData = 200000;
  testsupport::TempDir dir;
  const std::string path = dir.Write("Heat.1995.DVDRip.avi", Build(movie));
  int reads = 0;
  const auto facts = media::ReadAviFactsWith(
      [&](std::int64_t offset, std::size_t count) {
        ++reads;
        return platform::ReadAt(path, offset, count);
      },
      platform::FileSize(path).value_or(-1));
  ASSERT_TRUE(facts);
  EXPECT_EQ(facts->VideoCodec, "XVID");
  EXPECT_EQ(reads, 1);
}

TEST(AviReader, FrameSizeComesWithTheFactsAndASecondReadAgrees) {
  Movie movie;
  movie.width = 720;
  movie.height = 400;
  testsupport::TempDir dir;
  const std::string path = dir.Write("movie.avi", Build(movie));
  const auto first = ReadAviFile(path);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->FrameWidth, 720);
  EXPECT_EQ(first->FrameHeight, 400);
  EXPECT_EQ(ReadAviFile(path), first);  // a second read gives the same facts

  std::string broken = Build(movie);
  broken.replace(8, 4, "AVIX");
  const std::string brokenPath = dir.Write("movie.avi", broken);
  EXPECT_FALSE(ReadAviFile(brokenPath));
}

TEST(AviReader, NotAviMessageTrimsTheName) {
  EXPECT_EQ(media::NotAviMessage("movie.avi"), "movie.avi is not a valid video file");
  EXPECT_EQ(media::NotAviMessage(" \tmy movie.avi\r\n"), "my movie.avi is not a valid video file");
  EXPECT_EQ(media::NotAviMessage("\x01" "a & b.avi  "), "a & b.avi is not a valid video file");
}

}  // namespace
