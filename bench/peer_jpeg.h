#pragma once
// In-process libjpeg decodes that the poster loader is measured against. All use libjpeg's defaults (the same DCT method and upsampling the poster loader gets)
// and the standard error manager, which ends the process on a damaged file: they only ever see
// the benchmark's own pictures.
#include <memory>
#include <string>

namespace bench {

// What djpeg does for `djpeg -outfile /dev/null FILE`: decode to RGB one row at a time into a row
// buffer and write each row, after a PPM header, to /dev/null. Returns the number of rows written.
int PeerDjpegToNull(const std::string& path);

struct DecodedPicture {
  int width = 0, height = 0;
  std::shared_ptr<unsigned char> pixels;  // width * 4 bytes a row, B G R 0xFF
};

// Decodes the whole picture at full size into one fresh malloc'ed buffer in the poster loader's
// own pixel layout, 16 rows a call: the loader's work without QImage and without its safety checks.
DecodedPicture PeerDecodeToBuffer(const std::string& path);

}  // namespace bench
