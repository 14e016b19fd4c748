// JPEG poster decoding: every colour model a poster comes in, and hostile files that must end in a
// clear error without a crash, a hang or a huge allocation.
#include "media/jpeg_decoder.h"
#include "media/poster.h"
#include "platform/error.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <sys/resource.h>

namespace {

using Rgb = std::array<int, 3>;
using testsupport::TempDir;

// Four quadrants, so that a decoder that swaps channels, rows or halves shows it.
constexpr std::array<Rgb, 4> kQuadrants = {{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}}};
constexpr std::array<int, 4> kGreyQuadrants = {0, 85, 170, 255};

int QuadrantOf(int x, int y, int width, int height) {
  return (x >= width / 2 ? 1 : 0) + (y >= height / 2 ? 2 : 0);
}

enum class Model { Rgb, Grey, AdobeCmyk, PlainCmyk, AdobeYcck };

struct Picture {
  int width = 64;
  int height = 48;
  Model model = Model::Rgb;
  bool progressive = false;
  std::vector<jpeg_scan_info> scans;  // an explicit scan script, when not empty
  bool grain = false;                 // noise of +-6, so that the file is large
};

// Samples of one pixel in the encoder's input colour space. CMYK inks are written inverted when
// an Adobe marker says so, as Photoshop does.
std::vector<JSAMPLE> Samples(const Picture& picture, int x, int y) {
  const int q = QuadrantOf(x, y, picture.width, picture.height);
  const Rgb& rgb = kQuadrants[q];
  switch (picture.model) {
    case Model::Rgb: return {JSAMPLE(rgb[0]), JSAMPLE(rgb[1]), JSAMPLE(rgb[2])};
    case Model::Grey: return {JSAMPLE(kGreyQuadrants[q])};
    case Model::PlainCmyk:
      return {JSAMPLE(255 - rgb[0]), JSAMPLE(255 - rgb[1]), JSAMPLE(255 - rgb[2]), 0};
    case Model::AdobeCmyk:
    case Model::AdobeYcck: return {JSAMPLE(rgb[0]), JSAMPLE(rgb[1]), JSAMPLE(rgb[2]), 255};
  }
  return {};
}

std::string Encode(const Picture& picture) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr errors{};
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(picture.width);
  cinfo.image_height = static_cast<JDIMENSION>(picture.height);
  const bool cmyk = picture.model != Model::Rgb && picture.model != Model::Grey;
  cinfo.input_components = picture.model == Model::Grey ? 1 : cmyk ? 4 : 3;
  cinfo.in_color_space = picture.model == Model::Grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 95, TRUE);
  if (picture.model == Model::AdobeYcck) jpeg_set_colorspace(&cinfo, JCS_YCCK);
  if (picture.model == Model::PlainCmyk) cinfo.write_Adobe_marker = FALSE;
  if (picture.progressive) jpeg_simple_progression(&cinfo);
  if (!picture.scans.empty()) {
    cinfo.scan_info = picture.scans.data();
    cinfo.num_scans = static_cast<int>(picture.scans.size());
  }
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row;
  while (cinfo.next_scanline < cinfo.image_height) {
    row.clear();
    for (int x = 0; x < picture.width; ++x) {
      std::vector<JSAMPLE> pixel = Samples(picture, x, static_cast<int>(cinfo.next_scanline));
      if (picture.grain)
        for (JSAMPLE& sample : pixel) sample = JSAMPLE(std::clamp(sample + std::rand() % 13 - 6, 0, 255));
      row.insert(row.end(), pixel.begin(), pixel.end());
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::string bytes(reinterpret_cast<const char*>(buffer), size);
  std::free(buffer);
  return bytes;
}

// A grey progressive script of 1 + 63 * (al + 1) scans: every AC coefficient in a band of its own,
// refined one bit at a time. Legal, and far more scans than any encoder writes.
std::vector<jpeg_scan_info> ManyScans(int al) {
  std::vector<jpeg_scan_info> scans;
  scans.push_back({1, {0}, 0, 0, 0, 0});
  for (int k = 1; k <= 63; ++k) {
    scans.push_back({1, {0}, k, k, 0, al});
    for (int bit = al; bit > 0; --bit) scans.push_back({1, {0}, k, k, bit, bit - 1});
  }
  return scans;
}

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

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const platform::Error& error) {
    return error.what();
  }
  return "(no error)";
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
    ExpectQuadrants(media::DecodeJpegFile(path), row.picture);
    ExpectQuadrants(media::LoadPictureAsBitmap(path), row.picture);
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
    const QImage image = media::LoadPictureAsBitmap(row.name);
    EXPECT_EQ(image.width(), row.decoded ? 64 : 0);
    EXPECT_EQ(image.isNull(), !row.decoded);
  }
  EXPECT_TRUE(media::LoadPictureAsBitmap("").isNull());
}

// Sets the size in the first frame header (baseline or progressive).
std::string WithDeclaredSize(std::string jpeg, int width, int height) {
  std::size_t sof = jpeg.find("\xFF\xC0");
  if (sof == std::string::npos) sof = jpeg.find("\xFF\xC2");
  EXPECT_NE(sof, std::string::npos);
  jpeg[sof + 5] = static_cast<char>(height >> 8);
  jpeg[sof + 6] = static_cast<char>(height & 0xFF);
  jpeg[sof + 7] = static_cast<char>(width >> 8);
  jpeg[sof + 8] = static_cast<char>(width & 0xFF);
  return jpeg;
}

TEST(JpegDecoder, HostileFilesEndInAClearError) {
  const std::string baseline = Encode({256, 256, Model::Rgb, false, {}});
  const std::string progressive = Encode({256, 256, Model::Rgb, true, {}});
  const struct {
    const char* name;
    std::string bytes;
    const char* message;
  } rows[] = {
      {"empty file", "", "Empty input file"},
      {"garbage", std::string(300, '\x5A'), "Not a JPEG file"},
      {"header only", baseline.substr(0, 200), "Premature end of JPEG file"},
      {"baseline cut in half", baseline.substr(0, baseline.size() / 2), "Premature end of JPEG file"},
      {"progressive cut in half", progressive.substr(0, progressive.size() / 2),
       "Premature end of JPEG file"},
      {"60000 x 60000", WithDeclaredSize(baseline, 60000, 60000), "too large"},
      {"16000 x 16000 (over 128 MiB)", WithDeclaredSize(baseline, 16000, 16000), "too large"},
      {"20000 x 8 (over a side)", WithDeclaredSize(baseline, 20000, 8), "too large"},
      {"631 scans", Encode({16, 16, Model::Grey, false, ManyScans(9)}), "more than 500 scans"},
      {"127 scans of 4096 x 4096", Encode({4096, 4096, Model::Grey, false, ManyScans(1)}),
       "too many scans for its size"},
  };
  TempDir dir;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string path = dir.Write("bad.jpg", row.bytes);
    const auto start = std::chrono::steady_clock::now();
    const std::string message = ErrorOf([&] { media::LoadPictureAsBitmap(path); });
    EXPECT_NE(message.find(row.message), std::string::npos) << message;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  }
  EXPECT_NE(ErrorOf([&] { media::LoadPictureAsBitmap(dir / "missing.jpg"); })
                .find("No such file or directory"),
            std::string::npos);
  const std::string directory = dir.MakeDir("folder.jpg");
  EXPECT_NE(ErrorOf([&] { media::LoadPictureAsBitmap(directory); }), "(no error)");
}

// The process's address space now, from /proc/self/status; 0 when it cannot be read.
std::int64_t AddressSpaceBytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmSize:", 0) == 0) return std::stoll(line.substr(7)) * 1024;
  return 0;
}

// A forged size must be refused from the header, before the picture or the decoder's buffers are
// allocated: with only 256 MiB more address space than it has, the loader still answers "too
// large", where an allocation first would have failed with another message (or not at all).
TEST(JpegDecoder, AForgedSizeIsRefusedBeforeAnythingLargeIsAllocated) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit leaves";
#else
  const std::string baseline = Encode({256, 256, Model::Rgb, false, {}});
  const std::string scans = Encode({64, 64, Model::Grey, false, ManyScans(1)});
  const struct {
    const char* name;
    std::string bytes;
  } rows[] = {
      {"baseline 60000 x 60000", WithDeclaredSize(baseline, 60000, 60000)},
      {"127 scans of 60000 x 60000", WithDeclaredSize(scans, 60000, 60000)},
      {"127 scans of 5793 x 5793", WithDeclaredSize(scans, 5793, 5793)},
  };
  TempDir dir;
  std::vector<std::string> paths;
  for (const auto& row : rows) paths.push_back(dir.Write(std::string(row.name) + ".jpg", row.bytes));
  const std::int64_t now = AddressSpaceBytes();
  ASSERT_GT(now, 0);
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_AS, &old), 0);
  rlimit tight = old;
  tight.rlim_cur = static_cast<rlim_t>(now + (std::int64_t{256} << 20));
  ASSERT_EQ(setrlimit(RLIMIT_AS, &tight), 0);
  std::vector<std::string> messages;
  for (const std::string& path : paths) {
    messages.push_back(ErrorOf([&] { media::ReadPosterSize(path); }));
    messages.push_back(ErrorOf([&] { media::LoadPictureAsBitmap(path, QSize(410, 615)); }));
    messages.push_back(ErrorOf([&] { media::LoadPictureAsBitmap(path); }));
  }
  setrlimit(RLIMIT_AS, &old);
  for (std::size_t i = 0; i < messages.size(); ++i) {
    SCOPED_TRACE(rows[i / 3].name);
    EXPECT_NE(messages[i].find("too large"), std::string::npos) << messages[i];
  }
#endif
}

TEST(JpegDecoder, AFileLackingOnlyItsEndMarkerStillShows) {
  const Picture picture{64, 48, Model::Rgb, false, {}};
  std::string jpeg = Encode(picture);
  ASSERT_EQ(jpeg.substr(jpeg.size() - 2), "\xFF\xD9");
  TempDir dir;
  const std::string path = dir.Write("noeoi.jpg", jpeg.substr(0, jpeg.size() - 2));
  ExpectQuadrants(media::DecodeJpegFile(path), picture);
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
    EXPECT_EQ(media::ReadJpegSize(path), QSize(row.picture.width, row.picture.height));
    EXPECT_EQ(media::ReadPosterSize(path), QSize(row.picture.width, row.picture.height));
    Picture shown = row.picture;
    shown.width = row.decoded.width();
    shown.height = row.decoded.height();
    ExpectQuadrants(media::DecodeJpegFile(path, row.atLeast), shown);
    ExpectQuadrants(media::LoadPictureAsBitmap(path, row.atLeast), shown);
  }
  EXPECT_EQ(media::ReadPosterSize("poster.png"), QSize(0, 0));
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
  ExpectQuadrants(media::DecodeJpegFile(dir.Write("large.jpg", large)), grainy);
  ExpectQuadrants(media::DecodeJpegFile(dir.Write("padded.jpg", padded)), small);
  EXPECT_NE(ErrorOf([&] { media::DecodeJpegFile(dir.Write("cut.jpg", large.substr(0, large.size() * 2 / 3))); })
                .find("Premature end of JPEG file"),
            std::string::npos);
  EXPECT_NE(ErrorOf([&] { media::DecodeJpegFile(dir.Write("cut.jpg", padded.substr(0, 400000))); })
                .find("Premature end of JPEG file"),
            std::string::npos);
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
    EXPECT_EQ(media::PictureSizeProblem(row.width, row.height).empty(), row.accepted);
  }
}

}  // namespace
