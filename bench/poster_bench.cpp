// The poster decode against libjpeg used directly, on pictures of two sizes. djpeg, the program,
// is timed as a process by tools/bench.sh; the peers here are its work without the process.
#include <benchmark/benchmark.h>

#include <QImage>
#include <algorithm>
#include <cstring>

#include "app/picture_box.h"
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

// The size the poster box draws a picture of `size` at once the window is fitted to it: the
// largest size within the box's limits, in proportion.
QSize ShownSize(PictureSize size) {
  const app::BoxState box;
  return app::PictureRect(QSize(size.width, size.height), QSize(box.maxWidth, box.maxHeight), box)
      .size();
}

// The largest DCT scale denominator (1, 2, 4 or 8) that still decodes at least the size the
// poster box shows this picture at: the box fits a poster into its largest size, proportionally.
int ShownSizeDenominator(PictureSize size) {
  const app::BoxState box;
  const double fit =
      std::min(double(box.maxWidth) / size.width, double(box.maxHeight) / size.height);
  int denominator = 1;
  while (denominator < 8 && fit * denominator * 2 <= 1.0) denominator *= 2;
  return denominator;
}

}  // namespace

void RegisterPosterBenchmarks(const std::string& pictureDirectory) {
  for (PictureSize size : kPosterSizes) {
    const std::string path = PicturePath(pictureDirectory, size);
    const std::string prefix = "poster/" + SizeName(size) + "/";
    benchmark::RegisterBenchmark((prefix + "ours").c_str(), [path](benchmark::State& state) {
      for (auto _ : state) benchmark::DoNotOptimize(media::LoadPictureAsBitmap(path));
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((prefix + "peer_djpeg_rows").c_str(),
                                 [path](benchmark::State& state) {
                                   for (auto _ : state)
                                     benchmark::DoNotOptimize(PeerDjpegToNull(path));
                                 })
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((prefix + "peer_full_buffer").c_str(),
                                 [path](benchmark::State& state) {
                                   for (auto _ : state)
                                     benchmark::DoNotOptimize(PeerDecodeToBuffer(path));
                                 })
        ->Unit(benchmark::kMillisecond);
    // What-ifs, for the findings: the same decode into huge pages, and straight to the shown size.
    benchmark::RegisterBenchmark((prefix + "whatif_huge_pages").c_str(), [path](benchmark::State&
                                                                                    state) {
      for (auto _ : state)
        benchmark::DoNotOptimize(PeerDecodeToBuffer(path, PixelMemory::kHugePages));
    })->Unit(benchmark::kMillisecond);
    // The scaling the poster box does in its first paint (PictureBox::paintEvent), after the
    // decode.
    benchmark::RegisterBenchmark(
        (prefix + "paint_scaling").c_str(),
        [path, size](benchmark::State& state) {
          const QImage picture = media::LoadPictureAsBitmap(path);
          const QSize shown = ShownSize(size);
          for (auto _ : state)
            benchmark::DoNotOptimize(
                picture.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
          state.SetLabel(std::to_string(shown.width()) + "x" + std::to_string(shown.height()));
        })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();  // Qt scales on its worker threads
    const int denominator = ShownSizeDenominator(size);
    benchmark::RegisterBenchmark(
        (prefix + "whatif_shown_size").c_str(),
        [path, denominator](benchmark::State& state) {
          for (auto _ : state)
            benchmark::DoNotOptimize(PeerDecodeToBuffer(path, PixelMemory::kMalloc, denominator));
          state.SetLabel("1/" + std::to_string(denominator) + " scale");
        })
        ->Unit(benchmark::kMillisecond);
  }
}

bool CheckPosters(const std::string& pictureDirectory) {
  bool ok = true;
  for (PictureSize size : kPosterSizes) {
    const std::string path = PicturePath(pictureDirectory, size);
    const QImage ours = media::LoadPictureAsBitmap(path);
    ok &= Report(ours.width() == size.width && ours.height() == size.height,
                 "LoadPictureAsBitmap decodes " + path);
    ok &= Report(SamePixels(ours, PeerDecodeToBuffer(path)),
                 "libjpeg used directly gives the same pixels (" + SizeName(size) + ")");
    ok &= Report(PeerDjpegToNull(path) == size.height,
                 "the djpeg-like peer writes every row (" + SizeName(size) + ")");
    ok &= Report(SamePixels(ours, PeerDecodeToBuffer(path, PixelMemory::kHugePages)),
                 "the huge-page what-if gives the same pixels (" + SizeName(size) + ")");
    const int d = ShownSizeDenominator(size);
    const DecodedPicture scaled = PeerDecodeToBuffer(path, PixelMemory::kMalloc, d);
    ok &= Report(
        scaled.width == (size.width + d - 1) / d && scaled.height == (size.height + d - 1) / d,
        "the shown-size what-if decodes at 1/" + std::to_string(d) + ": " +
            std::to_string(scaled.width) + "x" + std::to_string(scaled.height));
  }
  return ok;
}

}  // namespace bench
