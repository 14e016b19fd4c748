// Which picture beside the movie becomes the poster, and loading a BMP poster safely.
#include "media/jpeg_decoder.h"
#include "media/poster.h"
#include "platform/result.h"
#include "support/listing.h"
#include "support/temp_dir.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

#include <filesystem>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using testsupport::ScopedChdir;
using testsupport::TempDir;

TEST(FindPosterFile, SameNameFirstThenAnyJpegThenAnyBmp) {
  using testsupport::D;
  using testsupport::F;
  using testsupport::Other;
  const struct {
    const char* name;
    std::vector<platform::ListingEntry> entries;
    std::string poster;
    int kind;
  } rows[] = {
      {"same name wins over another JPEG", {F("film.avi"), F("cover.jpg"), F("film.bmp")}, "film.bmp", 2},
      {"JPEG before BMP of the same name", {F("film.avi"), F("film.bmp"), F("film.jpg")}, "film.jpg", 1},
      {"any JPEG before any BMP", {F("film.avi"), F("a.bmp"), F("b.jpg")}, "b.jpg", 1},
      {"the first JPEG in listing order", {F("film.avi"), F("z.jpg"), F("a.jpg")}, "z.jpg", 1},
      {"only a BMP", {F("film.avi"), F("a.bmp")}, "a.bmp", 2},
      {"no picture", {F("film.avi"), F("film.txt")}, "", 2},
      {"same name in other letter case", {F("film.avi"), F("cover.jpg"), F("FILM.JPG")}, "FILM.JPG", 1},
      {"BMP of the same name in other case", {F("film.avi"), F("x.jpg"), F("Film.Bmp")}, "Film.Bmp", 2},
      {"other pictures in upper case", {F("film.avi"), F("A.BMP"), F("B.JPG")}, "B.JPG", 1},
      {"only an upper-case BMP", {F("film.avi"), F("COVER.BMP")}, "COVER.BMP", 2},
      {"a folder named like the poster is no poster", {F("film.avi"), D("film.jpg"), F("film.bmp")}, "film.bmp", 2},
      {"nor a FIFO named like it", {F("film.avi"), Other("film.jpg"), F("film.bmp")}, "film.bmp", 2},
      {"the search itself takes any entry", {F("film.avi"), D("extras.jpg")}, "extras.jpg", 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const media::PosterFile found = media::FindPosterFile(testsupport::Listed(row.entries), "film.avi");
    EXPECT_EQ(found.name, row.poster);
    EXPECT_EQ(found.kind, row.kind);
  }
}

std::string BmpBytes(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(image.save(&buffer, "BMP"));
  return bytes.toStdString();
}

std::string Le32(std::uint32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

// A BMP header with a 40-byte info header and no palette, followed by `pixelBytes` bytes of data.
std::string BmpHeader(std::int32_t width, std::int32_t height, int bits, std::uint32_t compression,
                      std::size_t pixelBytes) {
  std::string bytes = "BM" + Le32(static_cast<std::uint32_t>(54 + pixelBytes)) + Le32(0) + Le32(54);
  bytes += Le32(40) + Le32(static_cast<std::uint32_t>(width)) + Le32(static_cast<std::uint32_t>(height));
  bytes += std::string("\x01\x00", 2) + static_cast<char>(bits) + '\0';
  bytes += Le32(compression) + Le32(static_cast<std::uint32_t>(pixelBytes)) + Le32(2835) + Le32(2835) +
           Le32(0) + Le32(0);
  return bytes + std::string(pixelBytes, '\x40');
}

QImage Quadrants(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.setPixel(x, y, x < width / 2 ? (y < height / 2 ? 0xFFFF0000 : 0xFF0000FF)
                                         : (y < height / 2 ? 0xFF00FF00 : 0xFFFFFFFF));
  return image;
}

// The same picture stored top-down: a negative height, rows first to last (bottom-up `bmp` of
// 24-bit pixels with a 40-byte info header, as Qt writes it).
std::string TopDown(const std::string& bmp, std::int32_t width, std::int32_t height) {
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
  std::string flipped = bmp.substr(0, 22) + Le32(static_cast<std::uint32_t>(-height)) + bmp.substr(26, 28);
  for (std::int32_t row = height; row-- > 0;) flipped += bmp.substr(54 + row * stride, stride);
  return flipped;
}

TEST(LoadBmpPoster, ReadsAGoodBmp) {
  TempDir dir;
  const QImage original = Quadrants(39, 21);
  const std::string full = BmpBytes(original);
  const struct {
    const char* name;
    std::string bytes;
  } rows[] = {
      {"as written", full},
      // 39 pixels of 3 bytes leave 3 bytes of row padding, which some writers omit at the end.
      {"last row without its padding", full.substr(0, full.size() - 3)},
      {"stored top-down", TopDown(full, 39, 21)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const platform::Result<QImage> image = media::LoadBmpPoster(dir.Write("poster.bmp", row.bytes));
    ASSERT_TRUE(image) << image.error();
    ASSERT_EQ(image->size(), original.size());
    for (const QPoint p : {QPoint(5, 5), QPoint(30, 5), QPoint(5, 15), QPoint(30, 15)})
      EXPECT_EQ(image->pixel(p) & 0xFFFFFF, original.pixel(p) & 0xFFFFFF) << p.x() << "," << p.y();
  }
}

TEST(LoadBmpPoster, DamagedOrHugeFilesEndInAClearError) {
  const std::string good = BmpBytes(Quadrants(40, 40));
  QByteArray png;
  QBuffer pngBuffer(&png);
  pngBuffer.open(QIODevice::WriteOnly);
  Quadrants(8, 8).save(&pngBuffer, "PNG");
  const struct {
    const char* name;
    std::string bytes;
    const char* message;
  } rows[] = {
      {"empty file", "", "BMP"},
      {"broken header", "BM" + std::string(10, '\x7F'), "BMP"},
      {"4000 x 4000 claimed in 60 bytes", BmpHeader(4000, 4000, 24, 0, 6), "damaged"},
      {"top-down 4000 x 4000 in 60 bytes", BmpHeader(4000, -4000, 24, 0, 6), "damaged"},
      {"RLE8 4000 x 4000 in 60 bytes", BmpHeader(4000, 4000, 8, 1, 6), "damaged"},
      {"cut in half", good.substr(0, good.size() / 2), "damaged"},
      {"20000 pixels wide", BmpHeader(20000, 1, 8, 0, 20000), "too large"},
      {"2^31-1 a side at 255 bits a pixel", BmpHeader(INT32_MAX, INT32_MAX, 255, 0, 6), "too large"},
      {"old 16-bit header of another size claiming 2 x 4104 in 36 bytes",
       "BM" + Le32(36) + Le32(0) + Le32(34) + Le32(8) + std::string("\x02\x00\x08\x10\x01\x00\x01\x00", 8) +
           std::string(8, '\0') + "\xFF\xFF",
       "damaged"},
      {"PNG named .bmp", png.toStdString(), "BMP"},
      // A GIF is never decoded by its content, whatever its size: this one declares a 16 x 16 screen.
      {"GIF named .bmp",
       std::string("GIF89a\x10\x00\x10\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00,\x00\x00\x00\x00\x01\x00"
                   "\x01\x00\x00\x02\x02" "D\x01\x00;", 35),
       "BMP"},
      {"garbage", std::string(500, '\x11'), "BMP"},
  };
  TempDir dir;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const platform::Result<QImage> image = media::LoadBmpPoster(dir.Write("bad.bmp", row.bytes));
    EXPECT_NE(image.error().find(row.message), std::string::npos) << (image ? "loaded" : image.error());
  }
  EXPECT_FALSE(media::LoadBmpPoster(dir / "missing.bmp"));
}

// A BMP is decoded whole, so its limit is lower than a JPEG's: a complete 24-bit file of 5792 x 5792
// (a sparse 100 MB file here) is refused from its header, where a JPEG of that size is accepted.
TEST(LoadBmpPoster, APictureDecodedWholeHasALowerLimit) {
  const struct {
    std::int64_t width, height;
    bool accepted;
  } rows[] = {
      {4096, 4096, true}, {4097, 4096, false}, {16384, 1024, true}, {16384, 1025, false}, {5792, 5792, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.width) + " x " + std::to_string(row.height));
    EXPECT_EQ(media::CheckPictureSize(row.width, row.height, media::kMaxBmpPictureBytes).ok(), row.accepted);
  }
  EXPECT_TRUE(media::CheckPictureSize(5792, 5792).ok());
  TempDir dir;
  const std::size_t stride = (5792 * 3 + 3) / 4 * 4;
  const std::string path = dir.Write("poster.bmp", BmpHeader(5792, 5792, 24, 0, 0));
  std::filesystem::resize_file(path, 54 + stride * 5792);
  const platform::Result<QImage> image = media::LoadBmpPoster(path);
  EXPECT_NE(image.error().find("too large"), std::string::npos) << image.error();
  EXPECT_NE(image.error().find("64 MiB"), std::string::npos) << image.error();
}

}  // namespace
