#pragma once
// The AVI header reader. It is not a RIFF parser: every fact comes from a fixed position of the
// layout that AVI writers produce for an ordinary two-stream movie (main header, then the video
// stream list, then the audio stream list). Only the form type at offset 8 is ever compared.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace media {

struct AviFacts {
  std::int32_t RiffSize = 0;          // declared RIFF chunk size, taken as the movie's size
  std::int32_t MicroSecPerFrame = 0;
  std::int32_t TotalFrames = 0;
  std::int32_t FrameWidth = 0;        // pixels
  std::int32_t FrameHeight = 0;
  // The video handler code: always four bytes, as stored (case kept). When its position lies
  // outside the file it stays four NUL bytes, the "zero" of a field that could not be read.
  std::string VideoCodec = std::string(4, '\0');
  std::uint16_t AudioFormatTag = 0;
  std::uint16_t AudioChannels = 0;
  std::int32_t AudioSampleRate = 0;
  std::int32_t AudioBytesPerSec = 0;

  bool operator==(const AviFacts&) const = default;
};

// Reads up to `count` bytes at `offset` (offset >= 0). Fewer bytes only at the end of the file;
// nullopt when the file cannot be read at all.
using ReadAtFn = std::function<std::optional<std::string>(std::int64_t offset, std::size_t count)>;

// How much of the file the first read takes. The standard layout needs fewer than 300 bytes, so an
// ordinary movie is read in one go; later reads happen only for positions beyond this block.
inline constexpr std::size_t kAviHeadBlock = 4096;

// The red line shown for a rejected movie: the name trimmed of blanks and control characters.
std::string NotAviMessage(std::string_view fileName);

// Where the form type lies and how long it is; the start-up reads just these bytes.
inline constexpr std::int64_t kFormTypeOffset = 8;
inline constexpr std::size_t kFormTypeSize = 4;
// True when `formType`, the file's bytes at kFormTypeOffset, are "AVI " (byte for byte).
bool IsAviFormType(std::string_view formType);
// The facts from the bytes of a file whose first bytes are `head` (the form type is not checked).
// Positions beyond `head` are read with `readBeyond`, once per group of neighbouring fields; pass an
// empty function when `head` already holds the whole file. A field that lies outside the file, at a
// negative position, or only partly inside the file keeps its zero value. Sizes are taken as
// signed 32-bit values and positions computed in 64 bits, so no stored size can overflow them.
AviFacts ParseAviFacts(std::string_view head, const ReadAtFn& readBeyond);

// Validity test plus ParseAviFacts through `readAt`: the first block is read once and checked for
// "AVI "; nullopt when it fails. Exposed so that a caller can count or redirect the reads.
std::optional<AviFacts> ReadAviFactsWith(const ReadAtFn& readAt);

}  // namespace media
