#pragma once
// In-process libjpeg decodes that the poster loader is measured against, and two what-if variants
// of it. All use libjpeg's defaults (the same DCT method and upsampling the poster loader gets)
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

enum class PixelMemory {
  kMalloc,     // fresh from malloc, as QImage gets it: one page fault per 4 KiB on first write
  kHugePages,  // fresh from mmap with MADV_HUGEPAGE: one fault per 2 MiB where the kernel allows
};

// Decodes the whole picture into one fresh buffer in the poster loader's own pixel layout, 16 rows
// a call: the loader's work without QImage and without its safety checks. With a scale
// denominator of 2, 4 or 8, libjpeg decodes straight to that fraction of the size.
DecodedPicture PeerDecodeToBuffer(const std::string& path,
                                  PixelMemory memory = PixelMemory::kMalloc,
                                  int scaleDenominator = 1);

}  // namespace bench
