#include "media/codecs.h"

#include <array>
#include <cstddef>

#include "platform/text.h"

namespace media {
namespace {

#include "media/codec_tables.inc"

}  // namespace

std::span<const CodecName> VideoCodecNames() { return kVideoCodecNames; }
std::span<const CodecName> AudioFormatNames() { return kAudioFormatNames; }

std::string VideoCodecName(std::string_view code) {
  const std::string wanted = platform::AsciiUpper(code);
  std::string name;
  // The whole table is scanned and the last match kept, so a table that ever gained a duplicate
  // key would behave as the stored order says, not as a sort or hash would decide.
  for (const CodecName& pair : kVideoCodecNames) {
    if (platform::AsciiUpper(pair.key) == wanted) name = pair.description;
  }
  return name;
}

std::string AudioFormatName(std::uint16_t tag) {
  const std::string key = std::to_string(tag);
  std::string name = "Unknown (" + key + ")";
  for (const CodecName& pair : kAudioFormatNames) {
    if (pair.key == key) name = pair.description;
  }
  return name;
}

}  // namespace media
