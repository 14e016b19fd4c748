#pragma once
// The AVI header reader. The main header's facts come from fixed positions (the header list starts
// the file in every AVI); the stream facts from the stream lists of the header list, the video's
// from the first stream whose header says "vids", the audio's from the first that says "auds". Only
// the form type at offset 8 decides whether a file is an AVI file.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace media {

// Every count, rate and size of the headers is an unsigned 32-bit field; they are kept so, which
// a movie of 2 GiB or more in one RIFF chunk needs. The frame size is signed, as the launcher
// keeps it.
struct AviFacts {
  std::uint32_t RiffSize = 0;          // declared size of the first RIFF chunk
  std::uint32_t MicroSecPerFrame = 0;
  std::uint32_t TotalFrames = 0;       // the main header's (of the first RIFF chunk only, in OpenDML)
  std::int32_t FrameWidth = 0;         // pixels
  std::int32_t FrameHeight = 0;
  // The video handler code: always four bytes, as stored (case kept). Four NUL bytes when there is
  // no video stream or its header is cut short.
  std::string VideoCodec = std::string(4, '\0');
  std::uint16_t AudioFormatTag = 0;
  std::uint16_t AudioChannels = 0;
  std::uint32_t AudioSampleRate = 0;
  std::uint32_t AudioBytesPerSec = 0;

  // Which stream list (0 for the header list's first) the video and the audio facts came from;
  // -1 when the header list has no such stream.
  int VideoStream = -1;
  int AudioStream = -1;
  // The video stream header's length in its own units of `VideoScale` / `VideoRate` seconds.
  std::uint32_t VideoLength = 0;
  std::uint32_t VideoScale = 0;
  std::uint32_t VideoRate = 0;
  // The OpenDML extended header's frame count, which covers every RIFF chunk of a big movie.
  std::optional<std::uint32_t> ExtendedTotalFrames;
  std::int64_t FileSize = -1;          // bytes; -1 when unknown

  bool operator==(const AviFacts&) const = default;
};

enum class SizeSource { RiffChunk, File };
struct MovieSize {
  std::int64_t bytes = 0;
  SizeSource source = SizeSource::RiffChunk;
};
// The movie's size: the first RIFF chunk's declared size where that chunk is the whole file, as in
// every movie under 1 GiB written to a file; the file's size where it is not (an OpenDML movie's
// AVIX chunks follow it, or a movie written to a pipe left 0 or 0xFFFFFFFF there, or the file was
// cut short).
MovieSize MovieSizeOf(const AviFacts& facts);

enum class LengthSource { None, MainHeader, OpenDmlHeader, VideoStreamHeader };
struct MovieLength {
  double seconds = 0;
  LengthSource source = LengthSource::None;
};
// The movie's length: the largest frame count of the OpenDML header, the main header and the
// video stream header (when the file could hold that many frames), over the main header's frame
// rate, or the stream's own rate for the stream header's count. None when no header holds a
// count or there is no frame rate to count it with.
MovieLength MovieLengthOf(const AviFacts& facts);

// The main header's frame rate; 0 when it gives none.
double FramesPerSecond(const AviFacts& facts);

// How the inspector names the sources: "RIFF chunk", "file"; "main header", "OpenDML header",
// "video stream header", "none".
std::string_view SizeSourceName(SizeSource source);
std::string_view LengthSourceName(LengthSource source);

// Reads up to `count` bytes at `offset` (offset >= 0). Fewer bytes only at the end of the file;
// nullopt when the file cannot be read at all.
using ReadAtFn = std::function<std::optional<std::string>(std::int64_t offset, std::size_t count)>;

// How much of the file the first read takes. The header list of an ordinary movie fits, so it is
// read in one go; a longer header list (OpenDML writers reserve room for their indexes) costs one
// read more.
inline constexpr std::size_t kAviHeadBlock = 4096;
// How far into the file the header list is looked at. Writers' header lists take a few kilobytes.
inline constexpr std::size_t kMaxHeaderBytes = 64 * 1024;

// The red line shown for a rejected movie: the name trimmed of blanks and control characters.
std::string NotAviMessage(std::string_view fileName);

// Where the form type lies and how long it is; the start-up reads just these bytes.
inline constexpr std::int64_t kFormTypeOffset = 8;
inline constexpr std::size_t kFormTypeSize = 4;
// True when `formType`, the file's bytes at kFormTypeOffset, are "AVI " (byte for byte).
bool IsAviFormType(std::string_view formType);
// The facts from the bytes of a file of `fileSize` bytes (-1: unknown) whose first bytes are
// `head` (the form type is not checked). The header list beyond `head` is read with `readBeyond`,
// in at most two reads; pass an empty function when `head` already holds the whole file. A field
// that lies outside the file or the header list, or only partly inside, keeps its zero value.
AviFacts ParseAviFacts(std::string_view head, const ReadAtFn& readBeyond, std::int64_t fileSize);

// Validity test plus ParseAviFacts through `readAt`: the first block is read once and checked for
// "AVI "; nullopt when it fails. Exposed so that a caller can count or redirect the reads.
std::optional<AviFacts> ReadAviFactsWith(const ReadAtFn& readAt, std::int64_t fileSize);

}  // namespace media
