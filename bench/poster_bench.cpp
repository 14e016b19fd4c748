// The poster, from its file to the picture the poster box draws, against the full-size decode that
// the launcher did before and against libjpeg used directly, on pictures of two sizes. djpeg, the
// program, is timed as a process (process_bench.cpp); the peers here are its work without the
// process.
#include <benchmark/benchmark.h>

#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/picture_box.h"
#include "support/fake_services.h"
#include "app/screen_size.h"
#include "benchmarks.h"
#include "media/poster.h"
#include "peer_jpeg.h"

namespace bench {
namespace {

std::string SizeName(PictureSize size) {
  return std::to_string(size.width) + "x" + std::to_string(size.height);
}

// True when the picture and the peer's buffer hold the same pixels, byte for byte.
bool SamePixels(const QImage& image, const DecodedPicture& peer) {
  if (image.width() != peer.width || image.height() != peer.height) return false;
  const std::size_t rowBytes = std::size_t(peer.width) * 4;
  for (int y = 0; y < peer.height; ++y)
    if (std::memcmp(image.constScanLine(y), peer.pixels.get() + y * rowBytes, rowBytes) != 0)
      return false;
  return true;
}

// Where the launcher draws a poster of `size` on the benchmarks' 1024x738 work area: the box
// that the window sizing gives it, and the picture's size inside that box.
QSize DrawnSize(PictureSize size) {
  const testsupport::FakeServices services;  // its work area
  app::ScreenSizeInput input;
  input.pictureWidth = size.width;
  input.pictureHeight = size.height;
  input.work = services.work;
  const app::BoxState box = app::ComputeScreenSize(input).box;
  return app::PictureRect(QSize(size.width, size.height), QSize(box.width, box.height), box).size();
}

// What the box paints from a decoded picture: itself, or a smooth copy at the drawn size.
QImage AsDrawn(QImage picture, QSize drawn) {
  if (picture.size() == drawn) return picture;
  return picture.scaled(drawn, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The decoded poster; a null picture when the launcher refuses it, which the checks then report.
QImage Decoded(const std::string& path, QSize atLeast = QSize()) {
  platform::Result<QImage> image = media::LoadPictureAsBitmap(path, atLeast);
  return image ? std::move(*image) : QImage();
}

// The launcher's way from the file to the picture its poster box draws: the header for the
// window sizing, the decode at the drawn size, the box's smooth scaling.
QImage FileToDrawn(const std::string& path, QSize drawn) {
  benchmark::DoNotOptimize(media::ReadPosterSize(path));
  return AsDrawn(Decoded(path, drawn), drawn);
}

// The launcher's way with a poster up to its refusal: the header, then the decode at a drawn size.
// The refusal's message, or "" when the poster was taken.
std::string Refusal(const std::string& path) {
  const platform::Result<QSize> size = media::ReadPosterSize(path);
  if (!size) return size.error();
  return media::LoadPictureAsBitmap(path, QSize(410, 615)).error();
}

}  // namespace

void RegisterPosterBenchmarks(const std::string& pictureDirectory) {
  auto add = [](const std::string& name, auto body) {
    benchmark::RegisterBenchmark(name.c_str(), [body](benchmark::State& state) {
      for (auto _ : state) benchmark::DoNotOptimize(body());
    })->Unit(benchmark::kMillisecond)->UseRealTime();  // Qt scales on its worker threads
  };
  for (PictureSize size : kPosterSizes) {
    const std::string path = PicturePath(pictureDirectory, size);
    const std::string prefix = "poster/" + SizeName(size) + "/";
    const QSize drawn = DrawnSize(size);
    add(prefix + "ours", [path, drawn] { return FileToDrawn(path, drawn); });
    // Before the picture was decoded at the drawn size: in full, then scaled by the box.
    add(prefix + "full_then_scaled",
        [path, drawn] { return AsDrawn(Decoded(path), drawn); });
    add(prefix + "full_decode", [path] { return Decoded(path); });
    add(prefix + "peer_djpeg_rows", [path] { return PeerDjpegToNull(path); });
    add(prefix + "peer_full_buffer", [path] { return PeerDecodeToBuffer(path).width; });
  }
  for (const HostilePoster& poster : kHostilePosters) {
    const std::string path = HostilePath(pictureDirectory, poster);
    add(std::string("poster/refused/") + poster.name + "/ours", [path] { return Refusal(path); });
  }
}

bool CheckPosters(const std::string& pictureDirectory) {
  bool ok = true;
  for (const HostilePoster& poster : kHostilePosters) {
    const std::string refusal = Refusal(HostilePath(pictureDirectory, poster));
    ok &= Report(refusal.find(poster.refusal) != std::string::npos,
                 std::string("the launcher refuses ") + poster.name + ": " + refusal);
  }
  for (PictureSize size : kPosterSizes) {
    const std::string path = PicturePath(pictureDirectory, size);
    const QImage full = Decoded(path);
    ok &= Report(full.width() == size.width && full.height() == size.height,
                 "LoadPictureAsBitmap decodes " + path + " in full");
    ok &= Report(SamePixels(full, PeerDecodeToBuffer(path)),
                 "libjpeg used directly gives the same pixels (" + SizeName(size) + ")");
    ok &= Report(PeerDjpegToNull(path) == size.height,
                 "the djpeg-like peer writes every row (" + SizeName(size) + ")");
    const QSize drawn = DrawnSize(size);
    const QImage decoded = Decoded(path, drawn);
    const QImage shown = FileToDrawn(path, drawn);
    const platform::Result<QSize> natural = media::ReadPosterSize(path);
    ok &= Report(natural && *natural == QSize(size.width, size.height) &&
                     decoded.width() >= drawn.width() && decoded.height() >= drawn.height() &&
                     shown.size() == drawn,
                 "the launcher draws " + SizeName(size) + " at " + std::to_string(drawn.width()) +
                     "x" + std::to_string(drawn.height()) + ", decoded at " +
                     std::to_string(decoded.width()) + "x" + std::to_string(decoded.height()));
    // The drawn pictures of both ways differ only in how they were filtered down.
    const QImage before = AsDrawn(full, drawn);
    double difference = 0;
    for (int y = 0; y < drawn.height(); ++y)
      for (int x = 0; x < drawn.width(); ++x)
        difference += std::abs(qGray(shown.pixel(x, y)) - qGray(before.pixel(x, y)));
    difference /= double(drawn.width()) * drawn.height();
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", difference);
    ok &= Report(difference < 4, std::string("mean grey difference to the full decode's drawn picture: ") + text);
  }
  return ok;
}

}  // namespace bench
