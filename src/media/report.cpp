#include "media/report.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "media/codecs.h"
#include "media/number_format.h"
#include "platform/numbers.h"

namespace media {
namespace {

// Values derived from the facts. Every quotient whose divisor is zero is left at 0, so nothing
// infinite or undefined ever reaches the formatting.
struct Figures {
  double SizeMB = 0;
  double Fps = 0;
  double Duration = 0;  // seconds
  double Minutes = 0;   // whole minutes, truncated toward zero
  double Seconds = 0;   // the rest, rounded half to even
  double VideoKbps = 0;
};

Figures ComputeFigures(const AviFacts& facts) {
  Figures f;
  const double bytes = static_cast<double>(MovieSizeOf(facts).bytes);
  f.SizeMB = bytes / 1024 / 1024;
  f.Fps = FramesPerSecond(facts);
  f.Duration = MovieLengthOf(facts).seconds;
  f.Minutes = std::trunc(f.Duration / 60);
  f.Seconds = platform::RoundHalfEven(f.Duration - f.Minutes * 60);
  // Headers that disagree (an audio rate above the whole movie's) leave no rate for the video;
  // it is shown as unknown rather than negative.
  if (f.Duration != 0) f.VideoKbps = std::max(0.0, (bytes / f.Duration - facts.AudioBytesPerSec) / 1024 * 8);
  return f;
}

// The video code as the report shows it: the four bytes as stored, less the control bytes (below 32,
// and DEL). A code of NULs (unreadable) or of line breaks, tabs or escapes would otherwise show as
// nothing or split the report's line.
std::string ShownCode(std::string_view code) {
  std::string shown;
  for (const char c : code)
    if (static_cast<unsigned char>(c) >= 32 && c != '\x7F') shown += c;
  return shown;
}

struct NamedRatio {
  std::string_view twoDecimals;
  std::string_view name;
};

// Ratios that are known by a name. Film ratios such as 1.85 and 2.35 are written "1.85:1" anyway,
// so they need no entry.
constexpr std::array<NamedRatio, 7> kNamedRatios{{
    {"1.25", "5:4"},
    {"1.33", "4:3"},
    {"1.50", "3:2"},
    {"1.60", "16:10"},
    {"1.67", "5:3"},
    {"1.78", "16:9"},
    {"1.82", "20:11"},
}};

// A positive ratio with exactly two decimals and a leading digit ("1.80", "0.75"). It goes through
// the same decimal rounding as every number shown, so 712 / 400 gives 1.78 and not 1.77.
std::string TwoDecimals(double ratio) {
  std::string text = FormatNumber(ratio, "#.##", '.');
  if (text.empty() || text.front() == '.') text.insert(0, "0");
  std::size_t point = text.find('.');
  if (point == std::string::npos) {
    point = text.size();
    text.push_back('.');
  }
  text.resize(point + 3, '0');
  return text;
}

struct AudioBand {
  int from;
  int to;  // inclusive
  std::string_view label;
};

// Each band holds the truncated value of a common rate x 1000 / 1024 (128 kbit/s is 125), with
// room for encoders that write a rate slightly off the nominal one.
constexpr std::array<AudioBand, 8> kAudioBands{{
    {60, 68, "64 Kbit/s"},
    {92, 100, "96 Kbit/s"},
    {108, 116, "112 Kbit/s"},
    {124, 132, "128 Kbit/s"},
    {156, 164, "160 Kbit/s"},
    {187, 196, "192 Kbit/s"},
    {216, 228, "224 Kbit/s"},
    {246, 260, "256 Kbit/s"},
}};

ReportLine Heading(std::string_view text) { return ReportLine{{ReportRun{std::string(text), true}}}; }

ReportLine Field(std::string_view label, std::string value) {
  return ReportLine{{ReportRun{"     " + std::string(label) + ": ", true}, ReportRun{std::move(value), false}}};
}

}  // namespace

std::string ReportLine::PlainText() const {
  std::string text;
  for (const ReportRun& run : runs) text += run.text;
  return text;
}

std::string AspectRatioLabel(std::int32_t frameWidth, std::int32_t frameHeight) {
  if (frameWidth <= 0 || frameHeight <= 0) return "";
  const std::string ratio = TwoDecimals(static_cast<double>(frameWidth) / frameHeight);
  for (const NamedRatio& named : kNamedRatios) {
    if (named.twoDecimals == ratio) return std::string(named.name);
  }
  return ratio + ":1";
}

std::string AudioBitrateText(std::uint32_t audioBytesPerSec, char decimalSeparator) {
  const double kbps = static_cast<double>(audioBytesPerSec) / 1024 * 8;
  // kbps < 2^26, so the truncated value always fits an int.
  const int band = static_cast<int>(std::trunc(kbps));
  for (const AudioBand& b : kAudioBands) {
    if (band >= b.from && band <= b.to) return std::string(b.label);
  }
  return FormatNumber(kbps, "# Kbit/s", decimalSeparator);
}

int ReportFontPoints(int windowWidth) {
  int points = 8;
  if (windowWidth > 500) points = 10;
  if (windowWidth > 700) points = 12;
  if (windowWidth > 900) points = 14;
  if (windowWidth > 1100) points = 16;
  return points;
}

std::vector<ReportLine> BuildMediaReport(const AviFacts& facts, char decimalSeparator) {
  const Figures f = ComputeFigures(facts);
  const char sep = decimalSeparator;
  // A movie without an audio stream has no audio facts: its lines keep their labels, empty.
  const bool audio = facts.AudioStream >= 0;
  const std::string codec =
      facts.VideoStream < 0 ? "" : VideoCodecName(facts.VideoCodec) + "(" + ShownCode(facts.VideoCodec) + ")";
  return {
      Heading("Movie (Film)"),
      Field("Size", FormatNumber(f.SizeMB, "#.## MB", sep)),
      Field("Length", FormatNumber(f.Minutes, "# min", sep) + FormatNumber(f.Seconds, " # sec", sep)),
      Heading("Video"),
      Field("Codec", codec),
      Field("Bitrate", FormatNumber(f.VideoKbps, "# KBit/s", sep)),
      Field("Resolution", std::to_string(facts.FrameWidth) + " x " + std::to_string(facts.FrameHeight)),
      Field("FPS", FormatNumber(f.Fps, "#.###", sep)),
      Field("Aspect Ratio", AspectRatioLabel(facts.FrameWidth, facts.FrameHeight)),
      Heading("Audio"),
      Field("Codec", audio ? AudioFormatName(facts.AudioFormatTag) : ""),
      Field("Bitrate", audio ? AudioBitrateText(facts.AudioBytesPerSec, sep) : ""),
      Field("Sample Rate", audio ? std::to_string(facts.AudioSampleRate) + " Hz" : ""),
      Field("Channels", audio ? std::to_string(facts.AudioChannels) : ""),
      ReportLine{{ReportRun{std::string(26, '='), false}}},
  };
}

}  // namespace media
