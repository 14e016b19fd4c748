#pragma once
// AVI files laid out chunk by chunk the way AVI writers do it (main header, video stream list, audio
// stream list, movie data), independently of the reader's table of fixed positions.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

// Little-endian writer with size patching, so the test movies are laid out chunk by chunk the way
// AVI writers do it, independently of the reader's table of positions.
class Bytes {
 public:
  Bytes& Tag(std::string_view fourcc) {
    text_.append(fourcc);
    return *this;
  }
  Bytes& U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) text_.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return *this;
  }
  Bytes& I32(std::int32_t v) { return U32(static_cast<std::uint32_t>(v)); }
  Bytes& U16(std::uint16_t v) {
    text_.push_back(static_cast<char>(v & 0xFF));
    text_.push_back(static_cast<char>(v >> 8));
    return *this;
  }
  Bytes& Zeros(std::size_t n) {
    text_.append(n, '\0');
    return *this;
  }
  // Starts a chunk "id size"; the size is filled in by End().
  Bytes& Begin(std::string_view id) {
    Tag(id);
    open_.push_back(text_.size());
    return U32(0);
  }
  Bytes& End() {
    const std::size_t at = open_.back();
    open_.pop_back();
    const auto size = static_cast<std::uint32_t>(text_.size() - at - 4);
    for (int i = 0; i < 4; ++i) text_[at + i] = static_cast<char>((size >> (8 * i)) & 0xFF);
    return *this;
  }
  const std::string& str() const { return text_; }

 private:
  std::string text_;
  std::vector<std::size_t> open_;
};

struct AviMovie {
  std::int32_t microSecPerFrame = 41708;
  std::int32_t totalFrames = 139810;
  std::int32_t width = 640;
  std::int32_t height = 272;
  std::string handler = "XVID";
  std::uint16_t formatTag = 85;
  std::uint16_t channels = 2;
  std::int32_t sampleRate = 48000;
  std::int32_t bytesPerSec = 16000;
  std::size_t extraMainHeader = 0;    // bytes beyond the 56 of the main header (S grows)
  std::size_t extraAudioHeader = 0;   // bytes beyond the 56 of the audio stream header (H grows)
  std::size_t movieData = 1000;       // bytes of the movi list
  bool audio = true;
};

inline std::string AviBytes(const AviMovie& m = {}) {
  Bytes b;
  b.Begin("RIFF").Tag("AVI ");
  b.Begin("LIST").Tag("hdrl");
  b.Begin("avih").I32(m.microSecPerFrame).U32(0).U32(0).U32(0x10).I32(m.totalFrames).U32(0)
      .U32(m.audio ? 2 : 1).U32(0).I32(m.width).I32(m.height).Zeros(16 + m.extraMainHeader).End();
  b.Begin("LIST").Tag("strl");
  b.Begin("strh").Tag("vids").Tag(m.handler).Zeros(48).End();
  b.Begin("strf").U32(40).I32(m.width).I32(m.height).U16(1).U16(24).Tag(m.handler).Zeros(20).End();
  b.End();
  if (m.audio) {
    b.Begin("LIST").Tag("strl");
    b.Begin("strh").Tag("auds").U32(0).Zeros(48 + m.extraAudioHeader).End();
    b.Begin("strf").U16(m.formatTag).U16(m.channels).I32(m.sampleRate).I32(m.bytesPerSec)
        .U16(4).U16(16).U16(0).End();
    b.End();
  }
  b.End();
  b.Begin("LIST").Tag("movi").Zeros(m.movieData).End();
  b.End();
  return b.str();
}

}  // namespace testsupport
