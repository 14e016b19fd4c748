#pragma once
// The headers of an ordinary two-stream AVI file (56-byte main header, video then audio stream
// list), enough for the launcher's checks and its report.
#include <cstdint>
#include <string>

namespace testsupport {

struct AviHeader {
  std::int32_t microSecPerFrame = 41708;
  std::int32_t totalFrames = 134100;
  std::int32_t width = 640;
  std::int32_t height = 272;
  std::string videoCodec = "XVID";
  std::uint16_t audioTag = 85;
  std::uint16_t channels = 2;
  std::int32_t sampleRate = 48000;
  std::int32_t audioBytesPerSec = 16000;
  std::int32_t riffSize = 734003200;
};

inline std::string AviBytes(const AviHeader& h = {}) {
  std::string b;
  auto tag = [&](const char* t) { b.append(t, 4); };
  auto u32 = [&](std::uint32_t v) { for (int i = 0; i < 4; ++i) b.push_back(static_cast<char>(v >> (8 * i))); };
  auto u16 = [&](std::uint16_t v) { b.push_back(static_cast<char>(v)); b.push_back(static_cast<char>(v >> 8)); };
  auto zeros = [&](std::size_t n) { b.append(n, '\0'); };
  tag("RIFF"); u32(static_cast<std::uint32_t>(h.riffSize)); tag("AVI ");
  tag("LIST"); u32(0); tag("hdrl");
  tag("avih"); u32(56);
  u32(static_cast<std::uint32_t>(h.microSecPerFrame)); zeros(12); u32(static_cast<std::uint32_t>(h.totalFrames));
  zeros(12); u32(static_cast<std::uint32_t>(h.width)); u32(static_cast<std::uint32_t>(h.height)); zeros(16);
  // Video stream list: strh of 56 bytes, strf of 40.
  tag("LIST"); u32(4 + 8 + 56 + 8 + 40); tag("strl");
  tag("strh"); u32(56); tag("vids"); b.append(h.videoCodec, 0, 4); zeros(48);
  tag("strf"); u32(40); zeros(40);
  // Audio stream list.
  tag("LIST"); u32(4 + 8 + 56 + 8 + 18); tag("strl");
  tag("strh"); u32(56); tag("auds"); zeros(52);
  tag("strf"); u32(18); u16(h.audioTag); u16(h.channels); u32(static_cast<std::uint32_t>(h.sampleRate));
  u32(static_cast<std::uint32_t>(h.audioBytesPerSec)); zeros(6);
  return b;
}

}  // namespace testsupport
