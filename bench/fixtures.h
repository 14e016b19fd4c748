#pragma once
// The files the benchmarks run on: the demo disc (made by tools/make-demo-disc.sh) and the poster
// pictures that the benchmark writes itself.
#include <string>

namespace bench {

struct PictureSize {
  int width, height;
};
// The two poster sizes measured: a typical scanned poster and a large camera picture.
inline constexpr PictureSize kPosterSizes[] = {{1000, 1400}, {4000, 6000}};
// The smallest picture djpeg can be run on: its time is djpeg's process start.
inline constexpr PictureSize kBaselinePicture = {8, 8};

std::string PicturePath(const std::string& directory, PictureSize size);

// Writes every picture above into `directory` as a baseline JPEG at quality 90 (Qt's writer, 4:2:0
// chroma). The content is photo-like (gradients, grain, soft shapes) so that the entropy decoder
// has real work to do. False when a picture cannot be written.
bool WritePictures(const std::string& directory);

struct DemoDisc {
  std::string directory;  // absolute
  std::string movie;      // absolute path of the first *.avi
  std::string poster;     // absolute path of the first *.jpg
};
// The disc's files, found by extension (any letter case). Empty names when missing.
DemoDisc FindDemoDisc(const std::string& directory);

// A copy of the disc in `pictureDirectory` whose poster is the picture of `size` written there.
DemoDisc DiscWithPoster(const DemoDisc& disc, const std::string& pictureDirectory, PictureSize size);

}  // namespace bench
