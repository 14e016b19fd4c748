// JPEG poster decoding: every colour model a poster comes in, and hostile files that must end in a
// clear error without a crash, a hang or a huge allocation.
#include "media/jpeg_decoder.h"
#include "media/poster.h"
#include "platform/files.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "media/jpeg_samples.h"

namespace {

using namespace jpegsamples;
using testsupport::TempDir;

Rgb PixelAt(const QImage& image, int x, int y) {
  const QRgb pixel = image.pixel(x, y);
  return {qRed(pixel), qGreen(pixel), qBlue(pixel)};
}

void ExpectNear(const Rgb& actual, const Rgb& expected) {
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(actual[c], expected[c], 16) << "channel " << c;
}

// The expected colour at the centre of each quadrant.
void ExpectQuadrants(const QImage& image, const Picture& picture) {
  ASSERT_EQ(image.width(), picture.width);
  ASSERT_EQ(image.height(), picture.height);
  EXPECT_EQ(image.format(), QImage::Format_RGB32);
  for (int q = 0; q < 4; ++q) {
    SCOPED_TRACE("quadrant " + std::to_string(q));
    const int x = (q % 2) * picture.width / 2 + picture.width / 4;
    const int y = (q / 2) * picture.height / 2 + picture.height / 4;
    const int grey = kGreyQuadrants[q];
    ExpectNear(PixelAt(image, x, y), picture.model == Model::Grey ? Rgb{grey, grey, grey} : kQuadrants[q]);
  }
  // Format_RGB32 requires the unused byte to be 0xFF; anything else draws wrongly once composed.
  for (int y = 0; y < image.height(); ++y) {
    const auto* words = reinterpret_cast<const quint32*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) ASSERT_EQ(words[x] >> 24, 0xFFu) << x << "," << y;
  }
}


TEST(JpegDecoder, DecodesEveryColourModelAtFullSize) {
  const struct {
    const char* name;
    Picture picture;
  } rows[] = {
      {"baseline colour", {64, 48, Model::Rgb, false, {}}},
      {"odd size", {37, 23, Model::Rgb, false, {}}},
      {"progressive colour", {64, 48, Model::Rgb, true, {}}},
      {"baseline grey", {64, 48, Model::Grey, false, {}}},
      {"progressive grey", {40, 40, Model::Grey, true, {}}},
      {"Adobe CMYK (inverted inks)", {64, 48, Model::AdobeCmyk, false, {}}},
      {"CMYK without Adobe marker", {64, 48, Model::PlainCmyk, false, {}}},
      {"Adobe YCCK", {64, 48, Model::AdobeYcck, false, {}}},
      {"progressive CMYK", {32, 32, Model::AdobeCmyk, true, {}}},
      {"442 scans", {16, 16, Model::Grey, false, ManyScans(6)}},
  };
  TempDir dir;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string path = dir.Write("poster.jpg", Encode(row.picture));
    ExpectQuadrants(ValueOf(media::DecodeJpegFile(path)), row.picture);
    ExpectQuadrants(ValueOf(media::LoadPictureAsBitmap(path)), row.picture);
  }
}

TEST(JpegDecoder, OnlyNamesEndingInJpgAreDecoded) {
  TempDir dir;
  const std::string jpeg = Encode({});
  const struct {
    const char* name;
    bool decoded;
  } rows[] = {
      {"a.jpg", true}, {"a.JPG", true}, {"a.Jpg", true}, {"jpg", true},
      {"a.jpeg", false}, {"a.png", false}, {"a.jpg.bmp", false}, {"a.jp", false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    dir.Write(row.name, jpeg);
    testsupport::ScopedChdir into(dir.path());
    const QImage image = ValueOf(media::LoadPictureAsBitmap(row.name));
    EXPECT_EQ(image.width(), row.decoded ? 64 : 0);
    EXPECT_EQ(image.isNull(), !row.decoded);
  }
  EXPECT_TRUE(ValueOf(media::LoadPictureAsBitmap("")).isNull());
}


// Each refusal also bounds the work done before it: how many scans the decoder went into.
TEST(JpegDecoder, HostileFilesEndInAClearError) {
  const std::string baseline = Encode({256, 256, Model::Rgb, false, {}});
  const std::string progressive = Encode({256, 256, Model::Rgb, true, {}});
  const struct {
    const char* name;
    std::string bytes;
    const char* message;
    int scansDecoded;
  } rows[] = {
      {"empty file", "", "Empty input file", 0},
      {"garbage", std::string(300, '\x5A'), "Not a JPEG file", 0},
      {"header only", baseline.substr(0, 200), "Premature end of JPEG file", 0},
      {"baseline cut in half", baseline.substr(0, baseline.size() / 2), "Premature end of JPEG file", 1},
      // The scans are counted first, so a cut file is decoded only as far as its data goes.
      {"progressive cut in half", progressive.substr(0, progressive.size() / 2),
       "Premature end of JPEG file", 10},
      {"60000 x 60000", WithDeclaredSize(baseline, 60000, 60000), "too large", 0},
      {"16000 x 16000 (over 128 MiB)", WithDeclaredSize(baseline, 16000, 16000), "too large", 0},
      {"20000 x 8 (over a side)", WithDeclaredSize(baseline, 20000, 8), "too large", 0},
      {"631 scans", Encode({16, 16, Model::Grey, false, ManyScans(9)}), "more than 500 scans", 0},
      {"127 scans of 4096 x 4096", WithDeclaredSize(Encode({16, 16, Model::Grey, false, ManyScans(1)}), 4096, 4096),
       "too many scans for its size", 0},
  };
  TempDir dir;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string path = dir.Write("bad.jpg", row.bytes);
    media::JpegWork work;
    const std::string message = ErrorOf(media::DecodeJpegFile(path, QSize(), &work));
    EXPECT_NE(message.find(row.message), std::string::npos) << message;
    EXPECT_LE(work.scansDecoded, row.scansDecoded);
    EXPECT_LE(work.bytesRead, static_cast<std::int64_t>(row.bytes.size()));
    EXPECT_EQ(ErrorOf(media::LoadPictureAsBitmap(path)), message);
  }
  const std::string missing = platform::ReadFileHead(dir / "missing.jpg", 1).error();
  ASSERT_FALSE(missing.empty());
  EXPECT_NE(ErrorOf(media::LoadPictureAsBitmap(dir / "missing.jpg")).find(missing), std::string::npos);
  const std::string directory = dir.MakeDir("folder.jpg");
  EXPECT_NE(ErrorOf(media::LoadPictureAsBitmap(directory)), "(no error)");
}


TEST(JpegDecoder, AFileLackingOnlyItsEndMarkerStillShows) {
  const Picture picture{64, 48, Model::Rgb, false, {}};
  std::string jpeg = Encode(picture);
  ASSERT_EQ(jpeg.substr(jpeg.size() - 2), "\xFF\xD9");
  TempDir dir;
  const std::string path = dir.Write("noeoi.jpg", jpeg.substr(0, jpeg.size() - 2));
  ExpectQuadrants(ValueOf(media::DecodeJpegFile(path)), picture);
}

// The window decodes a large poster no larger than it draws it: the smallest of the decoder's
// scales n/8 whose result still covers the drawn size, full size when none smaller does.
TEST(JpegDecoder, ScaledDecodeCoversTheDrawnSizeWithTheSmallestScale) {
  const struct {
    const char* name;
    Picture picture;
    QSize atLeast;
    QSize decoded;
  } rows[] = {
      {"no size asked: full", {64, 48, Model::Rgb, false, {}}, QSize(), QSize(64, 48)},
      {"an empty size: full", {64, 48, Model::Rgb, false, {}}, QSize(0, 0), QSize(64, 48)},
      {"the natural size: full", {64, 48, Model::Rgb, false, {}}, QSize(64, 48), QSize(64, 48)},
      {"larger than natural: full", {64, 48, Model::Rgb, false, {}}, QSize(300, 300), QSize(64, 48)},
      {"one pixel less: still full", {64, 48, Model::Rgb, false, {}}, QSize(63, 48), QSize(64, 48)},
      {"exactly 1/8", {800, 600, Model::Rgb, false, {}}, QSize(100, 75), QSize(100, 75)},
      {"one pixel over 1/8 wide: 2/8", {800, 600, Model::Rgb, false, {}}, QSize(101, 75), QSize(200, 150)},
      {"one pixel over 1/8 high: 2/8", {800, 600, Model::Rgb, false, {}}, QSize(100, 76), QSize(200, 150)},
      {"1000 x 1400 in a 439 x 614 rect: 4/8", {1000, 1400, Model::Rgb, false, {}}, QSize(439, 614),
       QSize(500, 700)},
      {"1200 x 800 in 886 x 591: 6/8", {1200, 800, Model::Rgb, false, {}}, QSize(886, 591), QSize(900, 600)},
      {"odd sizes round up: 5/8", {1001, 703, Model::Rgb, false, {}}, QSize(600, 400), QSize(626, 440)},
      {"progressive at 3/8", {400, 320, Model::Rgb, true, {}}, QSize(150, 100), QSize(150, 120)},
      {"grey at 1/8", {400, 320, Model::Grey, false, {}}, QSize(50, 40), QSize(50, 40)},
      {"Adobe CMYK at 2/8", {400, 320, Model::AdobeCmyk, false, {}}, QSize(51, 40), QSize(100, 80)},
  };
  TempDir dir;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string path = dir.Write("poster.jpg", Encode(row.picture));
    EXPECT_EQ(ValueOf(media::ReadJpegSize(path)), QSize(row.picture.width, row.picture.height));
    EXPECT_EQ(ValueOf(media::ReadPosterSize(path)), QSize(row.picture.width, row.picture.height));
    Picture shown = row.picture;
    shown.width = row.decoded.width();
    shown.height = row.decoded.height();
    ExpectQuadrants(ValueOf(media::DecodeJpegFile(path, row.atLeast)), shown);
    ExpectQuadrants(ValueOf(media::LoadPictureAsBitmap(path, row.atLeast)), shown);
  }
  EXPECT_EQ(ValueOf(media::ReadPosterSize("poster.png")), QSize(0, 0));
}

// The file is read in chunks: pictures and skipped segments that cross them must come out whole.
TEST(JpegDecoder, FilesLargerThanOneReadDecodeWhole) {
  const Picture grainy{1536, 1536, Model::Rgb, false, {}, true};
  const std::string large = Encode(grainy);
  ASSERT_GT(large.size(), std::size_t{300} << 10);  // more than one read
  // Ten APP segments of 64 KB after the start marker: skipped, never decoded.
  const Picture small{64, 48, Model::Rgb, false, {}};
  std::string padded = Encode(small);
  std::string segments;
  for (int i = 0; i < 10; ++i) segments += std::string("\xFF\xE9\xFF\xFF", 4) + std::string(65533, 'p');
  padded.insert(2, segments);
  TempDir dir;
  ExpectQuadrants(ValueOf(media::DecodeJpegFile(dir.Write("large.jpg", large))), grainy);
  ExpectQuadrants(ValueOf(media::DecodeJpegFile(dir.Write("padded.jpg", padded))), small);
  EXPECT_NE(ErrorOf(media::DecodeJpegFile(dir.Write("cut.jpg", large.substr(0, large.size() * 2 / 3))))
                .find("Premature end of JPEG file"),
            std::string::npos);
  EXPECT_NE(ErrorOf(media::DecodeJpegFile(dir.Write("cut.jpg", padded.substr(0, 400000))))
                .find("Premature end of JPEG file"),
            std::string::npos);
}

// What libjpeg keeps of a multi-scan file, all its coefficients at full size whatever the scale it
// is decoded at, is worked out from the header, and a picture that would need more than the budget
// is refused before anything is allocated. The sizes are forged into small files: the decision
// rests on the header alone.
TEST(JpegDecoder, CoefficientMemoryIsBudgetedFromTheHeader) {
  const struct {
    const char* name;
    Picture picture;
    int width, height;
    std::int64_t coefficientBytes;  // 128 bytes per block of every component
    bool refused;
  } rows[] = {
      {"progressive CMYK 5792 x 5792", {16, 16, Model::AdobeCmyk, true, {}}, 5792, 5792, 4 * 724 * 724 * 128, true},
      {"progressive 4:4:4 RGB 5792 x 5792", {16, 16, Model::Rgb, true, {}, false, false, true}, 5792, 5792,
       3 * 724 * 724 * 128, true},
      {"progressive 4:2:0 4000 x 6000", {16, 16, Model::Rgb, true, {}}, 4000, 6000,
       500 * 750 * 128 + 2 * 250 * 375 * 128, false},
      {"progressive 4:4:4 3000 x 4500", {16, 16, Model::Rgb, true, {}, false, false, true}, 3000, 4500,
       3 * 375 * 563 * 128, false},
      {"progressive grey 5792 x 5792", {16, 16, Model::Grey, true, {}}, 5792, 5792, 724 * 724 * 128, false},
      {"one scan per colour, 4:4:4 5792 x 5792",
       {16, 16, Model::Rgb, false, {{1, {0}, 0, 63, 0, 0}, {1, {1}, 0, 63, 0, 0}, {1, {2}, 0, 63, 0, 0}}, false, false, true},
       5792, 5792, 3 * 724 * 724 * 128, true},
      {"baseline CMYK 5792 x 5792: one row of blocks at a time", {16, 16, Model::AdobeCmyk, false, {}}, 5792, 5792, 0,
       false},
  };
  TempDir dir;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string path = dir.Write("poster.jpg", WithDeclaredSize(Encode(row.picture), row.width, row.height));
    media::JpegWork work;
    const std::string message = ErrorOf(media::DecodeJpegFile(path, QSize(400, 600), &work));
    EXPECT_EQ(work.coefficientBytes, row.coefficientBytes);
    EXPECT_EQ(message.find("MiB to decode") != std::string::npos, row.refused) << message;
    if (row.refused) {
      EXPECT_EQ(work.scansDecoded, 0);
    }
    EXPECT_EQ(ErrorOf(media::ReadPosterSize(path)) != "(no error)", row.refused);
  }
}

// The first `count` scans of a script: the encoder needs only the DC scan to come first.
std::vector<jpeg_scan_info> FirstScans(std::vector<jpeg_scan_info> scans, std::size_t count) {
  scans.resize(count);
  return scans;
}

// The scans are counted from the markers before the decoder starts, so a file with too many is
// refused without decoding any of them; a file within the limit decodes every one it counted.
TEST(JpegDecoder, ScansAreCountedBeforeAnyIsDecoded) {
  const struct {
    const char* name;
    Picture picture;
    bool refused;
    int scansCounted;  // at least, for a refused file
    int declaredSide = 0;  // a size forged into the header, which sets the limit
  } rows[] = {
      {"442 scans", {16, 16, Model::Grey, false, ManyScans(6)}, false, 442},
      {"500 scans", {16, 16, Model::Grey, false, FirstScans(ManyScans(7), 500)}, false, 500},
      {"501 scans", {16, 16, Model::Grey, false, FirstScans(ManyScans(7), 501)}, true, 501},
      {"127 scans of 4096 x 4096 (at most 64)", {16, 16, Model::Grey, false, ManyScans(1)}, true, 65, 4096},
      {"ten scans of a colour picture", {64, 48, Model::Rgb, true, {}}, false, 10},
  };
  TempDir dir;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::string bytes = Encode(row.picture);
    if (row.declaredSide) bytes = WithDeclaredSize(bytes, row.declaredSide, row.declaredSide);
    const std::string path = dir.Write("poster.jpg", bytes);
    media::JpegWork work;
    const std::string message = ErrorOf(media::DecodeJpegFile(path, QSize(), &work));
    EXPECT_EQ(message.find("scans") != std::string::npos, row.refused) << message;
    if (row.refused) {
      EXPECT_GE(work.scansCounted, row.scansCounted);
      EXPECT_EQ(work.scansDecoded, 0);
    } else {
      EXPECT_EQ(message, "(no error)");
      EXPECT_EQ(work.scansCounted, row.scansCounted);
      EXPECT_EQ(work.scansDecoded, row.scansCounted);
    }
  }
}

// A poster file is read no further than the largest a poster may be: a 4 GiB file of zeros after
// the start marker (libjpeg would search all of it for a marker) is refused having read at most
// that much, while a good picture followed by the same junk shows, its tail never read.
TEST(JpegDecoder, APosterFileIsReadNoFurtherThanTheCap) {
  const std::int64_t fourGiB = std::int64_t{4} << 30;
  const std::string picture = Encode({64, 48, Model::Rgb, true, {}});
  const struct {
    const char* name;
    std::string head;
    bool refused;
  } rows[] = {
      {"start marker and zeros", std::string("\xFF\xD8", 2), true},
      {"a picture and zeros", picture, false},
  };
  TempDir dir;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string path = dir.Write("poster.jpg", row.head);
    std::filesystem::resize_file(path, static_cast<std::uintmax_t>(fourGiB));  // sparse: no disc space
    media::JpegWork work;
    const std::string message = ErrorOf(media::DecodeJpegFile(path, QSize(), &work));
    EXPECT_EQ(message.find("larger than any poster") != std::string::npos, row.refused) << message;
    EXPECT_LE(work.bytesRead, row.refused ? media::kMaxPosterFileBytes : std::int64_t{1} << 20);
    EXPECT_EQ(ErrorOf(media::ReadPosterSize(path)).find("larger than any poster") != std::string::npos,
              row.refused);
  }
}

TEST(JpegDecoder, PictureSizeLimits) {
  const struct {
    std::int64_t width, height;
    bool accepted;
  } rows[] = {
      {1, 1, true},          {16384, 2048, true},  {5792, 5792, true}, {5793, 5793, false},
      {16385, 1, false},     {1, 16385, false},    {0, 10, false},     {10, 0, false},
      {-1, 10, false},       {65535, 65535, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.width) + " x " + std::to_string(row.height));
    EXPECT_EQ(media::CheckPictureSize(row.width, row.height).ok(), row.accepted);
  }
}

}  // namespace
