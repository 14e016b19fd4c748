#include "media/report.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "media/number_format.h"

namespace {

using media::AviFacts;
using media::FormatNumber;

TEST(NumberFormat, Patterns) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Row {
    double value;
    const char* pattern;
    char separator;
    std::string text;
  };
  const Row rows[] = {
      {700.0, "#.## MB", '.', "700 MB"},
      {699.456, "#.## MB", '.', "699.46 MB"},
      {699.456, "#.## MB", ',', "699,46 MB"},
      {0.5, "#.## MB", '.', ".5 MB"},
      {23.976023, "#.###", '.', "23.976"},
      {23.976023, "#.###", ',', "23,976"},
      {25, "#.###", '.', "25"},
      {29.969730, "#.###", '.', "29.97"},
      {12, " # sec", '.', " 12 sec"},
      {0, "# min", '.', " min"},
      {0, "#.###", '.', ""},
      {140.625, "# Kbit/s", '.', "141 Kbit/s"},
      // Halves go away from zero on the decimal value, as it is written.
      {0.5, "#", '.', "1"},
      {2.5, "#", '.', "3"},
      {0.125, "#.##", '.', ".13"},
      {2.675, "#.##", '.', "2.68"},
      {1.005, "#.##", '.', "1.01"},
      {-2.5, "#", '.', "-3"},
      // Carries through nines, and values that round to nothing.
      {9.999, "#.##", '.', "10"},
      {0.995, "#.##", '.', "1"},
      {99.9996, "#.###", '.', "100"},
      {0.004, "#.##", '.', ""},
      {-0.004, "#.##", '.', ""},  // no lone minus
      {0.0004, "#.###", '.', ""},
      {0.0005, "#.###", '.', ".001"},
      {-1.5, "#.## MB", '.', "-1.5 MB"},
      {1e15, "#", '.', "1000000000000000"},
      {123456789012.25, "#.##", '.', "123456789012.25"},
      {2147483647.0 / 1024 / 1024, "#.## MB", '.', "2048 MB"},
      {inf, "# KBit/s", '.', " KBit/s"},
      {-inf, "#.###", '.', ""},
      {std::nan(""), "#.## MB", '.', " MB"},
      {5, "no number", '.', "no number"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.pattern) + " " + std::to_string(row.value));
    EXPECT_EQ(FormatNumber(row.value, row.pattern, row.separator), row.text);
  }
}

AviFacts Facts(std::uint32_t microSecPerFrame, std::uint32_t totalFrames) {
  AviFacts f;
  f.RiffSize = 734003200;  // 700 MB
  f.MicroSecPerFrame = microSecPerFrame;
  f.TotalFrames = totalFrames;
  f.FrameWidth = 640;
  f.FrameHeight = 272;
  f.VideoCodec = "xvid";
  f.AudioFormatTag = 85;
  f.AudioChannels = 2;
  f.AudioSampleRate = 48000;
  f.AudioBytesPerSec = 16000;
  f.VideoStream = 0;
  f.AudioStream = 1;
  return f;
}

std::vector<std::string> PlainLines(const AviFacts& facts, char separator = '.') {
  std::vector<std::string> lines;
  for (const media::ReportLine& line : media::BuildMediaReport(facts, separator)) {
    lines.push_back(line.PlainText());
  }
  return lines;
}

TEST(MediaReport, TypicalMovie) {
  const auto report = media::BuildMediaReport(Facts(41708, 134077), '.');
  const std::vector<std::string> want = {
      "Movie (Film)",
      "     Size: 700 MB",
      "     Length: 93 min 12 sec",
      "Video",
      "     Codec: XviD MPEG-4(xvid)",
      "     Bitrate: 900 KBit/s",
      "     Resolution: 640 x 272",
      "     FPS: 23.976",
      "     Aspect Ratio: 2.35:1",
      "Audio",
      "     Codec: MPEG Layer 3",
      "     Bitrate: 128 Kbit/s",
      "     Sample Rate: 48000 Hz",
      "     Channels: 2",
      "==========================",
  };
  ASSERT_EQ(report.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE(i + 1);
    EXPECT_EQ(report[i].PlainText(), want[i]);
    const bool heading = i == 0 || i == 3 || i == 9;
    if (heading) {
      ASSERT_EQ(report[i].runs.size(), 1u);
      EXPECT_TRUE(report[i].runs[0].bold);
    } else if (i == 14) {
      ASSERT_EQ(report[i].runs.size(), 1u);
      EXPECT_FALSE(report[i].runs[0].bold);
    } else {
      ASSERT_EQ(report[i].runs.size(), 2u);
      EXPECT_TRUE(report[i].runs[0].bold);   // the label
      EXPECT_FALSE(report[i].runs[1].bold);  // the value
      EXPECT_EQ(report[i].runs[0].text.substr(0, 5), "     ");
      EXPECT_EQ(report[i].runs[0].text.substr(report[i].runs[0].text.size() - 2), ": ");
    }
  }
}

TEST(MediaReport, SizeLengthAndFrameRate) {
  struct Row {
    const char* name;
    std::uint32_t riffSize, microSecPerFrame, totalFrames;
    std::string size, length, fps;
  };
  const Row rows[] = {
      {"5592.4 s", 734003200, 40000, 139810, "700 MB", "93 min 12 sec", "25"},
      {"119.7 s", 733432775, 100000, 1197, "699.46 MB", "1 min 60 sec", "10"},
      {"under a minute", 524288, 40000, 300, ".5 MB", " min 12 sec", "25"},
      {"exact minutes", 1048576, 40000, 139500, "1 MB", "93 min  sec", "25"},
      {"half second to even, down", 1048576, 100000, 125, "1 MB", " min 12 sec", "10"},
      {"half second to even, up", 1048576, 100000, 135, "1 MB", " min 14 sec", "10"},
      {"NTSC film", 1048576, 41708, 1000, "1 MB", " min 42 sec", "23.976"},
      {"NTSC video", 1048576, 33367, 1000, "1 MB", " min 33 sec", "29.97"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    AviFacts facts = Facts(row.microSecPerFrame, row.totalFrames);
    facts.RiffSize = row.riffSize;
    const auto lines = PlainLines(facts);
    EXPECT_EQ(lines[1], "     Size: " + row.size);
    EXPECT_EQ(lines[2], "     Length: " + row.length);
    EXPECT_EQ(lines[7], "     FPS: " + row.fps);
  }
}

TEST(MediaReport, DecimalSeparatorFromTheLocale) {
  AviFacts facts = Facts(41708, 1000);
  facts.RiffSize = 733432775;
  const auto lines = PlainLines(facts, ',');
  EXPECT_EQ(lines[1], "     Size: 699,46 MB");
  EXPECT_EQ(lines[7], "     FPS: 23,976");
}

TEST(MediaReport, CodecLines) {
  struct Row {
    std::string code;
    std::uint16_t tag;
    std::string video, audio;
  };
  const Row rows[] = {
      {"XVID", 8192, "     Codec: XviD MPEG-4(XVID)", "     Codec: AC3-Digital"},
      {"DX50", 9, "     Codec: (DX50)", "     Codec: Unknown (9)"},
      {"DIB ", 1, "     Codec: Microsoft Uncompressed(DIB )", "     Codec: Microsoft PCM"},
      // Control bytes from the file are dropped, so the line stays one line of text.
      {"XV\r\n", 1, "     Codec: (XV)", "     Codec: Microsoft PCM"},
      {"\tDX\x1B", 1, "     Codec: (DX)", "     Codec: Microsoft PCM"},
      {std::string("\0\x01\x1F\x7F", 4), 1, "     Codec: ()", "     Codec: Microsoft PCM"},
      {std::string("d\0v\0", 4), 1, "     Codec: (dv)", "     Codec: Microsoft PCM"},
      {" \xE9~!", 1, "     Codec: ( \xE9~!)", "     Codec: Microsoft PCM"},  // blanks and high bytes stay
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.code);
    AviFacts facts = Facts(40000, 1000);
    facts.VideoCodec = row.code;
    facts.AudioFormatTag = row.tag;
    const auto lines = PlainLines(facts);
    EXPECT_EQ(lines[4], row.video);
    EXPECT_EQ(lines[10], row.audio);
  }
}

// Nothing that a header can hold may crash the report, divide into nonsense or show a negative
// figure: quotients with a zero divisor show as 0, which the patterns write without a digit, and
// so does a video rate that the audio rate would make negative.
TEST(MediaReport, ZeroAndExtremeValues) {
  struct Row {
    const char* name;
    AviFacts facts;
    std::string length, videoBitrate, fps, aspect;
  };
  AviFacts noPeriod = Facts(0, 1000);
  AviFacts noFrames = Facts(40000, 0);
  AviFacts noHeight = Facts(40000, 1000);
  noHeight.FrameHeight = 0;
  AviFacts huge = Facts(0xFFFFFFFF - 39999, 1000);  // what -40000 was read as when taken signed
  huge.FrameWidth = -640;
  AviFacts extreme = Facts(1, INT32_MAX);
  extreme.RiffSize = 0x80000000;
  extreme.AudioBytesPerSec = 0x80000000;
  AviFacts highest = Facts(0xFFFFFFFF, 0xFFFFFFFF);
  const Row rows[] = {
      {"zero frame period", noPeriod, " min  sec", " KBit/s", "", "2.35:1"},
      {"no frames", noFrames, " min  sec", " KBit/s", "25", "2.35:1"},
      {"zero height", noHeight, " min 40 sec", "143235 KBit/s", "25", ""},
      {"period of 2^32 - 40000 and a negative width", huge, "71582 min 7 sec", " KBit/s", "", ""},
      {"one microsecond, most frames, more audio than movie", extreme, "35 min 47 sec", " KBit/s", "1000000",
       "2.35:1"},
      {"every count at its largest", highest, "307445734418 min 40 sec", " KBit/s", "", "2.35:1"},
      {"all zero", AviFacts{}, " min  sec", " KBit/s", "", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto lines = PlainLines(row.facts);
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[2], "     Length: " + row.length);
    EXPECT_EQ(lines[5], "     Bitrate: " + row.videoBitrate);
    EXPECT_EQ(lines[7], "     FPS: " + row.fps);
    EXPECT_EQ(lines[8], "     Aspect Ratio: " + row.aspect);
  }
  AviFacts zeroStreams;
  zeroStreams.VideoStream = 0;
  zeroStreams.AudioStream = 1;
  const auto zero = PlainLines(zeroStreams);
  EXPECT_EQ(zero[1], "     Size:  MB");
  EXPECT_EQ(zero[4], "     Codec: ()");
  EXPECT_EQ(zero[6], "     Resolution: 0 x 0");
  EXPECT_EQ(zero[10], "     Codec: Unknown Wave");
  EXPECT_EQ(zero[11], "     Bitrate:  Kbit/s");
  EXPECT_EQ(zero[12], "     Sample Rate: 0 Hz");
  EXPECT_EQ(zero[13], "     Channels: 0");
  // Without the streams, their lines keep their labels and show nothing.
  const auto none = PlainLines(AviFacts{});
  for (std::size_t line : {4u, 10u, 11u, 12u, 13u}) EXPECT_EQ(none[line], zero[line].substr(0, zero[line].find(": ") + 2));
}

TEST(MediaReport, AspectRatioLabel) {
  struct Row {
    std::int32_t width, height;
    std::string label;
  };
  const Row rows[] = {
      {720, 400, "1.80:1"}, {712, 400, "16:9"},  {640, 480, "4:3"},    {704, 576, "1.22:1"},
      {720, 576, "5:4"},    {640, 352, "20:11"}, {1280, 720, "16:9"},  {720, 480, "3:2"},
      {1920, 1200, "16:10"}, {1920, 1038, "1.85:1"}, {640, 272, "2.35:1"}, {400, 400, "1.00:1"},
      {300, 400, "0.75:1"}, {800, 400, "2.00:1"}, {INT32_MAX, 1, "2147483647.00:1"},
      {0, 400, ""},         {640, 0, ""},         {-640, 480, ""},      {640, -480, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.width) + "x" + std::to_string(row.height));
    EXPECT_EQ(media::AspectRatioLabel(row.width, row.height), row.label);
  }
}

TEST(MediaReport, AudioBitrateBands) {
  struct Row {
    std::uint32_t bytesPerSec;  // band value = bytes * 8 / 1024, truncated
    std::string text;
  };
  const Row rows[] = {
      {7552, "59 Kbit/s"},   {7680, "64 Kbit/s"},   {8704, "64 Kbit/s"},   {8832, "69 Kbit/s"},
      {12000, "96 Kbit/s"},  {14000, "112 Kbit/s"}, {15744, "123 Kbit/s"}, {15872, "128 Kbit/s"},
      {16000, "128 Kbit/s"}, {16896, "128 Kbit/s"}, {17000, "128 Kbit/s"}, {17024, "133 Kbit/s"},
      {18000, "141 Kbit/s"}, {20000, "160 Kbit/s"}, {23808, "186 Kbit/s"}, {24000, "192 Kbit/s"},
      {25088, "192 Kbit/s"}, {25216, "197 Kbit/s"}, {28000, "224 Kbit/s"}, {32000, "256 Kbit/s"},
      {33280, "256 Kbit/s"}, {33408, "261 Kbit/s"}, {64, "1 Kbit/s"},     {0, " Kbit/s"},
      {0xFFFFFFFF, "33554432 Kbit/s"}, {INT32_MAX, "16777216 Kbit/s"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.bytesPerSec);
    EXPECT_EQ(media::AudioBitrateText(row.bytesPerSec, '.'), row.text);
  }
  EXPECT_EQ(media::AudioBitrateText(18000, ','), "141 Kbit/s");
}

TEST(MediaReport, FontPointsFollowTheWindowWidth) {
  const int rows[][2] = {{-1, 8},   {0, 8},    {500, 8},   {501, 10},  {700, 10},  {701, 12},
                         {900, 12}, {901, 14}, {1100, 14}, {1101, 16}, {INT_MAX, 16}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row[0]);
    EXPECT_EQ(media::ReportFontPoints(row[0]), row[1]);
  }
}

}  // namespace
