#include "media/avi.h"

#include <algorithm>

#include "platform/numbers.h"
#include "platform/text.h"

namespace media {
namespace {

constexpr std::string_view kFormType = "AVI ";

// The file's first bytes, grown on demand: the head the caller read, and what one more read of
// `readBeyond` adds to it when a later position needs more.
class FileHead {
 public:
  FileHead(std::string_view head, const ReadAtFn& readBeyond) : bytes_(head), readBeyond_(readBeyond) {}

  // The file's bytes [0, end), or as many of them as the file has.
  std::string_view Upto(std::int64_t end) {
    const auto have = static_cast<std::int64_t>(bytes_.size());
    if (end > have && readBeyond_ && !ended_) {
      const std::optional<std::string> more = readBeyond_(have, static_cast<std::size_t>(end - have));
      ended_ = !more || static_cast<std::int64_t>(more->size()) < end - have;
      if (more && !more->empty()) {
        grown_ = std::string(bytes_) + *more;
        bytes_ = grown_;
      }
    }
    return bytes_.substr(0, static_cast<std::size_t>(std::clamp<std::int64_t>(end, 0, bytes_.size())));
  }

 private:
  std::string_view bytes_;
  const ReadAtFn& readBeyond_;
  std::string grown_;
  bool ended_ = false;  // the file ended before a read was satisfied: nothing more to ask for
};

// The `width` bytes at `at`, or nothing unless all of them are there.
std::optional<std::string_view> BytesAt(std::string_view bytes, std::int64_t at, std::size_t width) {
  if (at < 0 || at > static_cast<std::int64_t>(bytes.size()) || bytes.size() - static_cast<std::size_t>(at) < width)
    return std::nullopt;
  return bytes.substr(static_cast<std::size_t>(at), width);
}

std::uint32_t U32At(std::string_view bytes, std::int64_t at) {
  const auto field = BytesAt(bytes, at, 4);
  return field ? platform::LittleEndian32(*field, 0) : 0;
}

std::uint16_t U16At(std::string_view bytes, std::int64_t at) {
  const auto field = BytesAt(bytes, at, 2);
  return field ? platform::LittleEndian16(*field, 0) : 0;
}

std::int32_t I32At(std::string_view bytes, std::int64_t at) {
  return static_cast<std::int32_t>(U32At(bytes, at));  // two's complement, as C++20 defines it
}

bool LooksLikeId(std::string_view bytes, std::int64_t at) {
  const auto id = BytesAt(bytes, at, 4);
  return id && std::all_of(id->begin(), id->end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

struct Chunk {
  std::string_view id;
  std::uint32_t size = 0;
  std::int64_t data = 0;  // where its payload starts
};

// Where the chunk after `chunk` starts. RIFF pads a chunk of odd size to an even length, which some
// hand-made files leave out: the unpadded place is taken when a chunk starts there.
std::int64_t NextChunk(std::string_view bytes, const Chunk& chunk) {
  const std::int64_t next = chunk.data + chunk.size;
  if (chunk.size % 2 == 1 && !LooksLikeId(bytes, next) && LooksLikeId(bytes, next + 1)) return next + 1;
  return next;
}

// Calls `visit` for each chunk whose header lies in [from, end) of `bytes`, in order.
template <typename Visit>
void ForEachChunk(std::string_view bytes, std::int64_t from, std::int64_t end, Visit visit) {
  end = std::min<std::int64_t>(end, bytes.size());
  for (std::int64_t at = from; at + 8 <= end;) {
    const Chunk chunk{bytes.substr(static_cast<std::size_t>(at), 4), U32At(bytes, at + 4), at + 8};
    visit(chunk);
    at = NextChunk(bytes, chunk);
  }
}

// The list type of a LIST chunk, "" for any other chunk.
std::string_view ListType(std::string_view bytes, const Chunk& chunk) {
  if (chunk.id != "LIST") return {};
  return BytesAt(bytes, chunk.data, 4).value_or("");
}

std::int64_t ListEnd(const Chunk& list) { return list.data + list.size; }

// Takes the facts of the stream list `strl`, the `index`th of the header list, when it is the first
// video or the first audio stream.
void TakeStream(std::string_view bytes, const Chunk& strl, int index, AviFacts& facts) {
  std::int64_t header = -1, format = -1;  // the payloads of its strh and strf
  ForEachChunk(bytes, strl.data + 4, ListEnd(strl), [&](const Chunk& chunk) {
    if (chunk.id == "strh" && header < 0) header = chunk.data;
    if (chunk.id == "strf" && format < 0) format = chunk.data;
  });
  if (header < 0) return;
  const std::string_view type = BytesAt(bytes, header, 4).value_or("");
  if (type == "vids" && facts.VideoStream < 0) {
    facts.VideoStream = index;
    if (const auto code = BytesAt(bytes, header + 4, 4)) facts.VideoCodec = std::string(*code);
    facts.VideoScale = U32At(bytes, header + 20);
    facts.VideoRate = U32At(bytes, header + 24);
    facts.VideoLength = U32At(bytes, header + 32);
  } else if (type == "auds" && facts.AudioStream < 0) {
    facts.AudioStream = index;
    if (format < 0) return;
    facts.AudioFormatTag = U16At(bytes, format);
    facts.AudioChannels = U16At(bytes, format + 2);
    facts.AudioSampleRate = U32At(bytes, format + 4);
    facts.AudioBytesPerSec = U32At(bytes, format + 8);
  }
}

void TakeExtendedHeader(std::string_view bytes, const Chunk& odml, AviFacts& facts) {
  ForEachChunk(bytes, odml.data + 4, ListEnd(odml), [&](const Chunk& chunk) {
    if (chunk.id == "dmlh" && !facts.ExtendedTotalFrames && BytesAt(bytes, chunk.data, 4))
      facts.ExtendedTotalFrames = U32At(bytes, chunk.data);
  });
}

}  // namespace

bool IsAviFormType(std::string_view formType) { return formType.substr(0, kFormType.size()) == kFormType; }

std::string NotAviMessage(std::string_view fileName) {
  return platform::Trim(fileName) + " is not a valid video file";
}

MovieSize MovieSizeOf(const AviFacts& facts) {
  const std::int64_t declared = facts.RiffSize;
  const std::int64_t chunkEnd = 8 + declared + declared % 2;
  const bool wholeFile = facts.FileSize == chunkEnd || facts.FileSize == 8 + declared;
  if (facts.FileSize < 0 || wholeFile) return {declared, SizeSource::RiffChunk};
  return {facts.FileSize, SizeSource::File};
}

MovieLength MovieLengthOf(const AviFacts& facts) {
  // Each header counts the frames its own way: the main header those of the first RIFF chunk only
  // in an OpenDML movie, the OpenDML header all of them (but mencoder writes the first chunk's
  // count there too), the video stream header all of them (but a writer that cannot seek back
  // leaves 0 or a placeholder there). Every frame takes a chunk of 8 bytes at least, so a count
  // that the file cannot hold is such a placeholder (ffmpeg writes 2^30 into a pipe).
  const bool fits = facts.FileSize < 0 || facts.VideoLength <= facts.FileSize / 8;
  struct Count {
    std::uint32_t frames;
    LengthSource source;
  };
  Count best{facts.ExtendedTotalFrames.value_or(0), LengthSource::OpenDmlHeader};
  if (facts.TotalFrames > best.frames) best = {facts.TotalFrames, LengthSource::MainHeader};
  if (fits && facts.VideoLength > best.frames) best = {facts.VideoLength, LengthSource::VideoStreamHeader};
  if (best.frames == 0) return {};
  if (best.source == LengthSource::VideoStreamHeader && facts.VideoScale != 0 && facts.VideoRate != 0)
    return {static_cast<double>(best.frames) * facts.VideoScale / facts.VideoRate, best.source};
  const double fps = FramesPerSecond(facts);
  if (fps == 0) return {};
  return {best.frames / fps, best.source};
}

double FramesPerSecond(const AviFacts& facts) {
  return facts.MicroSecPerFrame == 0 ? 0 : 1000000.0 / facts.MicroSecPerFrame;
}

std::string_view SizeSourceName(SizeSource source) {
  return source == SizeSource::RiffChunk ? "RIFF chunk" : "file";
}

std::string_view LengthSourceName(LengthSource source) {
  switch (source) {
    case LengthSource::MainHeader: return "main header";
    case LengthSource::OpenDmlHeader: return "OpenDML header";
    case LengthSource::VideoStreamHeader: return "video stream header";
    case LengthSource::None: break;
  }
  return "none";
}

AviFacts ParseAviFacts(std::string_view head, const ReadAtFn& readBeyond, std::int64_t fileSize) {
  FileHead file(head, readBeyond);
  AviFacts facts;
  facts.FileSize = fileSize;

  // The RIFF size and the main header sit at fixed offsets, always inside the first block.
  const std::string_view main = file.Upto(72);
  facts.RiffSize = U32At(main, 4);
  facts.MicroSecPerFrame = U32At(main, 32);
  facts.TotalFrames = U32At(main, 48);
  facts.FrameWidth = I32At(main, 64);
  facts.FrameHeight = I32At(main, 68);

  // The header list (its size at 16) holds the main header from 24, then the stream lists and the
  // OpenDML extended header.
  const std::int64_t listEnd = std::min<std::int64_t>(20 + std::int64_t{U32At(main, 16)}, kMaxHeaderBytes);
  const std::string_view list = file.Upto(listEnd);
  int streams = 0;
  ForEachChunk(list, 24, listEnd, [&](const Chunk& chunk) {
    const std::string_view type = ListType(list, chunk);
    if (type == "strl") TakeStream(list, chunk, streams++, facts);
    if (type == "odml") TakeExtendedHeader(list, chunk, facts);
  });
  return facts;
}

std::optional<AviFacts> ReadAviFactsWith(const ReadAtFn& readAt, std::int64_t fileSize) {
  const std::optional<std::string> head = readAt(0, kAviHeadBlock);
  if (!head || head->size() < kFormTypeOffset || !IsAviFormType(std::string_view(*head).substr(kFormTypeOffset))) {
    return std::nullopt;
  }
  // A short first read means the file ended inside the block: nothing lies beyond it.
  const ReadAtFn none;
  return ParseAviFacts(*head, head->size() < kAviHeadBlock ? none : readAt, fileSize);
}

}  // namespace media
