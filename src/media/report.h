#pragma once
// The movie's technical data as the info panel shows it: fifteen lines of styled runs, built from
// the AVI facts by plain functions. The panel renders every run in navy, bold where marked.
#include <string>
#include <vector>

#include "media/avi.h"

namespace media {

struct ReportRun {
  std::string text;
  bool bold = false;
};

struct ReportLine {
  std::vector<ReportRun> runs;
  std::string PlainText() const;  // the runs' texts joined, without the line break
};

// The fifteen report lines. Values that cannot be computed because a divisor is zero (no frame
// period, no length) are taken as 0, which the number patterns write without a digit: the line
// keeps its unit ("     FPS: ", "     Bitrate:  KBit/s"), as a zero would show. No value is ever
// negative. The codec lines and the audio lines are empty when the movie has no such stream.
std::vector<ReportLine> BuildMediaReport(const AviFacts& facts, char decimalSeparator);

// The frame's aspect ratio: a common named ratio ("16:9") when the ratio rounded to two decimals
// is one, otherwise that ratio followed by ":1" ("1.80:1", always with a point, as ratios are
// written in film data). "" when either side is not positive, since no ratio exists then.
std::string AspectRatioLabel(std::int32_t frameWidth, std::int32_t frameHeight);

// The audio rate in Kbit/s (of 1024 bits): the nominal rate ("128 Kbit/s") when it falls into the
// band of a common encoder rate, otherwise the computed value ("141 Kbit/s").
std::string AudioBitrateText(std::uint32_t audioBytesPerSec, char decimalSeparator);

// The panel's font size for the window's outer width: 8, 10 above 500, 12 above 700, 14 above
// 900, 16 above 1100 pixels.
int ReportFontPoints(int windowWidth);

}  // namespace media
