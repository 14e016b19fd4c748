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
// chroma), and the hostile posters. The content is photo-like (gradients, grain, soft shapes) so
// that the entropy decoder has real work to do. False when a picture cannot be written.
bool WritePictures(const std::string& directory);

// Posters the launcher refuses, and the words of the refusal. The time to the refusal is measured:
// it must not grow with what the refusal spares (the rest of a 4 GiB file, 500 scans of 1448 x 1448
// decoded for nothing).
struct HostilePoster {
  const char* name;
  const char* refusal;
};
inline constexpr HostilePoster kHostilePosters[] = {{"zeros-4GiB", "larger than any poster"},
                                                    {"scans-501", "more than 500 scans"}};

std::string HostilePath(const std::string& directory, const HostilePoster& poster);

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
