// The AVI header reader on arbitrary movie bytes, and the report built from whatever it found.
//  - Reading from memory, from a real file and from a short head with the rest fetched on demand
//    must all give the same facts: the positions are computed once, whoever supplies the bytes.
//  - The reader asks for at most the header list's first kMaxHeaderBytes, in a few reads.
//  - The report always has its fifteen lines, and its numbers are numbers, never negative.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "media/avi.h"
#include "media/report.h"
#include "platform/files.h"

namespace {

// One read for the head block, then at most two for the rest of the header list.
constexpr int kMostReads = 3;

struct CountingReader {
  std::string_view bytes;
  int calls = 0;

  std::optional<std::string> operator()(std::int64_t offset, std::size_t count) {
    ++calls;
    FUZZ_CHECK(offset >= 0);
    FUZZ_CHECK(calls <= kMostReads);
    FUZZ_CHECK(offset + count <= media::kMaxHeaderBytes || (offset == 0 && count == media::kAviHeadBlock));
    if (offset >= static_cast<std::int64_t>(bytes.size())) return std::string();
    return std::string(bytes.substr(static_cast<std::size_t>(offset), count));
  }
};

// "123", "4.5", ".25" with the given separator; "" stands for zero.
bool IsNumber(std::string_view text, char separator) {
  int separators = 0;
  for (char c : text) {
    if (c == separator) {
      ++separators;
    } else if (c < '0' || c > '9') {
      return false;
    }
  }
  return separators <= 1 && (text.empty() || text.back() != separator);
}

// The value run of a report line with the given unit after the number.
void CheckNumberField(const media::ReportLine& line, std::string_view unit, char separator) {
  FUZZ_CHECK(line.runs.size() == 2);
  const std::string& value = line.runs[1].text;
  FUZZ_CHECK(value.size() >= unit.size() && value.ends_with(unit));
  FUZZ_CHECK(IsNumber(std::string_view(value).substr(0, value.size() - unit.size()), separator));
}

void CheckReport(const media::AviFacts& facts, char separator) {
  const std::vector<media::ReportLine> report = media::BuildMediaReport(facts, separator);
  FUZZ_CHECK(report.size() == 15);
  CheckNumberField(report[1], " MB", separator);
  CheckNumberField(report[5], " KBit/s", separator);
  CheckNumberField(report[7], "", separator);
  const std::string length = report[2].runs.at(1).text;
  const std::size_t minutes = length.find(" min");
  FUZZ_CHECK(minutes != std::string::npos && length.ends_with(" sec"));
  FUZZ_CHECK(IsNumber(std::string_view(length).substr(0, minutes), separator));
  FUZZ_CHECK(IsNumber(std::string_view(length).substr(minutes + 5, length.size() - minutes - 9),
                      separator));

  const std::string ratio = media::AspectRatioLabel(facts.FrameWidth, facts.FrameHeight);
  FUZZ_CHECK(ratio.empty() == (facts.FrameWidth <= 0 || facts.FrameHeight <= 0));
  FUZZ_CHECK((facts.AudioStream < 0) == report[10].runs.at(1).text.empty());
  const std::string audio = media::AudioBitrateText(facts.AudioBytesPerSec, separator);
  FUZZ_CHECK(audio.ends_with(" Kbit/s"));
  FUZZ_CHECK(IsNumber(std::string_view(audio).substr(0, audio.size() - 7), separator));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto fileSize = static_cast<std::int64_t>(size);
  const media::AviFacts whole = media::ParseAviFacts(bytes, {}, fileSize);

  // The same file seen through a head block of every size the first byte picks.
  const std::size_t headSize = size == 0 ? 0 : data[0] % (size + 1);
  CountingReader beyond{bytes};
  FUZZ_CHECK(media::ParseAviFacts(bytes.substr(0, headSize), std::ref(beyond), fileSize) == whole);

  CountingReader reader{bytes};
  const std::optional<media::AviFacts> read = media::ReadAviFactsWith(std::ref(reader), fileSize);
  const bool isAvi = size >= 12 && bytes.substr(8, 4) == "AVI ";
  FUZZ_CHECK(read.has_value() == isAvi);
  if (read) FUZZ_CHECK(*read == whole);

  // And through the real file reader, which opens the file for every read.
  static fuzzsupport::ScratchFile movie(".avi");
  const std::string& path = movie.Write(data, size);
  FUZZ_CHECK(media::IsAviFormType(platform::ReadAt(path, media::kFormTypeOffset, media::kFormTypeSize).value_or("")) == isAvi);
  const std::optional<media::AviFacts> fromFile = media::ReadAviFactsWith(
      [&](std::int64_t offset, std::size_t count) { return platform::ReadAt(path, offset, count); },
      platform::FileSize(path).value_or(-1));
  FUZZ_CHECK(fromFile == read);

  CheckReport(whole, '.');
  CheckReport(whole, ',');
  return 0;
}
