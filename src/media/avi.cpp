#include "media/avi.h"

#include <algorithm>
#include <cstring>
#include <deque>

#include "platform/files.h"
#include "platform/numbers.h"
#include "platform/text.h"

namespace media {
namespace {

constexpr std::string_view kFormType = "AVI ";

// A span of the file that has been fetched: `bytes` start at file offset `start`.
struct Fetched {
  std::string_view bytes;
  std::int64_t start = 0;

  // The `width` bytes at `offset`, or nothing unless all of them were fetched.
  std::optional<std::string_view> At(std::int64_t offset, std::size_t width) const {
    if (offset < start) return std::nullopt;
    const std::int64_t from = offset - start;
    const auto size = static_cast<std::int64_t>(bytes.size());
    if (from > size || size - from < static_cast<std::int64_t>(width)) return std::nullopt;
    return bytes.substr(static_cast<std::size_t>(from), width);
  }
};

// The bytes behind a group of neighbouring fields [first, first + length): taken from the head when
// it holds them, otherwise fetched with one read. The part before offset 0 is never asked for.
class GroupReader {
 public:
  GroupReader(std::string_view head, const ReadAtFn& readBeyond) : head_(head), readBeyond_(readBeyond) {}

  Fetched Fetch(std::int64_t first, std::size_t length) {
    const std::int64_t end = first + static_cast<std::int64_t>(length);
    const std::int64_t from = std::max<std::int64_t>(first, 0);
    if (end <= from) return {};
    if (end <= static_cast<std::int64_t>(head_.size()) || !readBeyond_) return {head_, 0};
    std::optional<std::string> got = readBeyond_(from, static_cast<std::size_t>(end - from));
    extra_.push_back(got ? std::move(*got) : std::string());
    return {extra_.back(), from};
  }

 private:
  std::string_view head_;
  const ReadAtFn& readBeyond_;
  std::deque<std::string> extra_;  // a deque keeps earlier fetches in place while later ones arrive
};

std::int32_t Int32At(const Fetched& fetched, std::int64_t offset) {
  std::uint32_t raw = 0;
  if (const auto bytes = fetched.At(offset, 4)) raw = platform::LittleEndian32(*bytes, 0);
  std::int32_t value;
  std::memcpy(&value, &raw, sizeof value);  // two's complement reinterpretation, no overflow
  return value;
}

std::uint16_t UInt16At(const Fetched& fetched, std::int64_t offset) {
  const auto bytes = fetched.At(offset, 2);
  return bytes ? platform::LittleEndian16(*bytes, 0) : 0;
}

}  // namespace

bool IsAviFormType(std::string_view formType) { return formType.substr(0, kFormType.size()) == kFormType; }

std::string NotAviMessage(std::string_view fileName) {
  return platform::Trim(fileName) + " is not a valid video file";
}

AviFacts ParseAviFacts(std::string_view head, const ReadAtFn& readBeyond) {
  GroupReader reader(head, readBeyond);
  AviFacts facts;

  // RIFF size and the main header sit at fixed offsets, always inside the first block.
  const Fetched main = reader.Fetch(0, 72);
  facts.RiffSize = Int32At(main, 4);
  const std::int64_t s = Int32At(main, 28);  // size of the main header chunk
  facts.MicroSecPerFrame = Int32At(main, 32);
  facts.TotalFrames = Int32At(main, 48);
  facts.FrameWidth = Int32At(main, 64);
  facts.FrameHeight = Int32At(main, 68);

  // First stream list: its size at 36 + S, the handler code at 56 + S.
  const Fetched video = reader.Fetch(36 + s, 24);
  const std::int64_t l = Int32At(video, 36 + s);
  if (const auto code = video.At(56 + s, 4)) facts.VideoCodec = std::string(*code);

  // Second stream: its header size at 56 + S + L, then the audio format after that header.
  const std::int64_t h = Int32At(reader.Fetch(56 + s + l, 4), 56 + s + l);
  const std::int64_t format = 68 + s + l + h;
  const Fetched audio = reader.Fetch(format, 12);
  facts.AudioFormatTag = UInt16At(audio, format);
  facts.AudioChannels = UInt16At(audio, format + 2);
  facts.AudioSampleRate = Int32At(audio, format + 4);
  facts.AudioBytesPerSec = Int32At(audio, format + 8);
  return facts;
}

std::optional<AviFacts> ReadAviFactsWith(const ReadAtFn& readAt) {
  const std::optional<std::string> head = readAt(0, kAviHeadBlock);
  if (!head || head->size() < kFormTypeOffset || !IsAviFormType(std::string_view(*head).substr(kFormTypeOffset))) {
    return std::nullopt;
  }
  // A short first read means the file ended inside the block: nothing lies beyond it.
  const ReadAtFn none;
  return ParseAviFacts(*head, head->size() < kAviHeadBlock ? none : readAt);
}

}  // namespace media
