#include "fixtures.h"

#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

#include "platform/text.h"

namespace bench {
namespace {

std::uint32_t Hash(std::uint32_t x, std::uint32_t y) {
  std::uint32_t h = x * 0x9E3779B1u ^ y * 0x85EBCA77u;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  return h;
}

// Smooth noise in [-1, 1]: hashed values on a grid of `cell` pixels, interpolated bilinearly.
double ValueNoise(int x, int y, int cell) {
  const int gx = x / cell, gy = y / cell;
  const double fx = double(x % cell) / cell, fy = double(y % cell) / cell;
  auto at = [](int i, int j) { return (Hash(i, j) & 0xFFFF) / 32767.5 - 1.0; };
  const double top = at(gx, gy) * (1 - fx) + at(gx + 1, gy) * fx;
  const double bottom = at(gx, gy + 1) * (1 - fx) + at(gx + 1, gy + 1) * fx;
  return top * (1 - fy) + bottom * fy;
}

int Clamp(double v) { return std::clamp(static_cast<int>(std::lround(v)), 0, 255); }

QImage PhotoLike(PictureSize size) {
  QImage image(size.width, size.height, QImage::Format_RGB32);
  const int cell = std::max(4, size.width / 250);
  for (int y = 0; y < size.height; ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    const double v = double(y) / size.height;
    for (int x = 0; x < size.width; ++x) {
      const double u = double(x) / size.width;
      const double texture = 45 * ValueNoise(x, y, cell) + 18 * ValueNoise(x, y, cell * 8);
      const double grain = int(Hash(x + 7919, y) % 13) - 6;
      row[x] =
          qRgb(Clamp(30 + 170 * u + texture + grain), Clamp(50 + 130 * v + 0.8 * texture + grain),
               Clamp(110 + 70 * std::sin(6 * u + 3 * v) + 0.6 * texture + grain));
    }
  }
  // A few soft highlights, as a poster's lit faces and lettering would give.
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  for (int i = 0; i < 6; ++i) {
    const QPointF centre(size.width * (0.15 + 0.14 * i), size.height * (0.2 + 0.12 * (i % 4)));
    const double radius = size.width * (0.08 + 0.03 * (i % 3));
    QRadialGradient glow(centre, radius);
    glow.setColorAt(0, QColor(255, 230, 180, 200));
    glow.setColorAt(1, QColor(255, 230, 180, 0));
    painter.setBrush(glow);
    painter.drawEllipse(centre, radius, radius);
  }
  return image;
}

// A grey 1448 x 1448 picture of noise in 501 scans: every AC coefficient in a band of its own,
// refined one bit at a time (a script no encoder writes, and legal).
bool WriteManyScans(const std::string& path) {
  std::vector<jpeg_scan_info> scans{{1, {0}, 0, 0, 0, 0}};
  for (int k = 1; k <= 63; ++k) {
    scans.push_back({1, {0}, k, k, 0, 7});
    for (int bit = 7; bit > 0; --bit) scans.push_back({1, {0}, k, k, bit, bit - 1});
  }
  scans.resize(501);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr errors{};
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, file);
  cinfo.image_width = cinfo.image_height = 1448;
  cinfo.input_components = 1;
  cinfo.in_color_space = JCS_GRAYSCALE;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 95, TRUE);
  cinfo.scan_info = scans.data();
  cinfo.num_scans = static_cast<int>(scans.size());
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row(1448);
  while (cinfo.next_scanline < cinfo.image_height) {
    for (std::size_t x = 0; x < row.size(); ++x) row[x] = JSAMPLE(Hash(std::uint32_t(x), cinfo.next_scanline));
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return std::fclose(file) == 0;
}

// The start marker, then zeros to 4 GiB (a sparse file: no disc space).
bool WriteZeros(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite("\xFF\xD8", 1, 2, file) == 2;
  if (std::fclose(file) != 0 || !written) return false;
  std::error_code error;
  std::filesystem::resize_file(path, std::uintmax_t{4} << 30, error);
  return !error;
}

}  // namespace

std::string HostilePath(const std::string& directory, const HostilePoster& poster) {
  return directory + "/hostile-" + poster.name + ".jpg";
}

std::string PicturePath(const std::string& directory, PictureSize size) {
  return directory + "/poster-" + std::to_string(size.width) + "x" + std::to_string(size.height) +
         ".jpg";
}

bool WritePictures(const std::string& directory) {
  std::filesystem::create_directories(directory);
  auto write = [&](PictureSize size) {
    QImageWriter writer(QString::fromStdString(PicturePath(directory, size)), "jpeg");
    writer.setQuality(90);
    return writer.write(PhotoLike(size));
  };
  bool ok = write(kBaselinePicture);
  for (PictureSize size : kPosterSizes) ok = write(size) && ok;
  ok = WriteZeros(HostilePath(directory, kHostilePosters[0])) && ok;
  return WriteManyScans(HostilePath(directory, kHostilePosters[1])) && ok;
}

DemoDisc FindDemoDisc(const std::string& directory) {
  DemoDisc disc;
  std::error_code error;
  disc.directory = std::filesystem::absolute(directory, error).lexically_normal().string();
  if (!disc.directory.empty() && disc.directory.back() == '/') disc.directory.pop_back();
  std::filesystem::directory_iterator entries(disc.directory, error);
  for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
    if (!entries->is_regular_file()) continue;
    const std::string extension = platform::AsciiLower(entries->path().extension().string());
    if (extension == ".avi" && disc.movie.empty()) disc.movie = entries->path().string();
    if (extension == ".jpg" && disc.poster.empty()) disc.poster = entries->path().string();
  }
  return disc;
}

DemoDisc DiscWithPoster(const DemoDisc& disc, const std::string& pictureDirectory, PictureSize size) {
  namespace fs = std::filesystem;
  const fs::path copy = fs::path(pictureDirectory) / ("disc-with-" + std::to_string(size.width) +
                                                      "x" + std::to_string(size.height) + "-poster");
  fs::remove_all(copy);
  fs::copy(disc.directory, copy);
  fs::copy_file(PicturePath(pictureDirectory, size), copy / fs::path(disc.poster).filename(),
                fs::copy_options::overwrite_existing);
  return FindDemoDisc(copy.string());
}

}  // namespace bench
