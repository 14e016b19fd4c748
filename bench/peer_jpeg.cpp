#include "peer_jpeg.h"

#include <jpeglib.h>

#include <algorithm>
#include <cstddef>  // jpeglib.h needs size_t and FILE declared first
#include <cstdio>
#include <cstdlib>

namespace bench {
namespace {

struct Files {
  std::FILE* in = nullptr;
  std::FILE* out = nullptr;
  ~Files() {
    if (in) std::fclose(in);
    if (out) std::fclose(out);
  }
};

// Decompressor with the standard error manager, reading `in`; header read.
void Start(jpeg_decompress_struct& cinfo, jpeg_error_mgr& errors, std::FILE* in) {
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&cinfo);
  jpeg_stdio_src(&cinfo, in);
  jpeg_read_header(&cinfo, TRUE);
}

}  // namespace

int PeerDjpegToNull(const std::string& path) {
  Files files;
  files.in = std::fopen(path.c_str(), "rb");
  files.out = std::fopen("/dev/null", "wb");
  if (!files.in || !files.out) return -1;
  jpeg_decompress_struct cinfo{};
  jpeg_error_mgr errors{};
  Start(cinfo, errors, files.in);
  jpeg_start_decompress(&cinfo);
  const JDIMENSION rowBytes = cinfo.output_width * cinfo.output_components;
  // djpeg's PPM writer asks for one row at a time and writes the decoder's row straight out.
  JSAMPARRAY row =
      (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE, rowBytes, 1);
  std::fprintf(files.out, "P6\n%u %u\n255\n", cinfo.output_width, cinfo.output_height);
  int rows = 0;
  while (cinfo.output_scanline < cinfo.output_height) {
    rows += static_cast<int>(jpeg_read_scanlines(&cinfo, row, 1));
    std::fwrite(row[0], 1, rowBytes, files.out);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return rows;
}

DecodedPicture PeerDecodeToBuffer(const std::string& path) {
  DecodedPicture picture;
  Files files;
  files.in = std::fopen(path.c_str(), "rb");
  if (!files.in) return picture;
  jpeg_decompress_struct cinfo{};
  jpeg_error_mgr errors{};
  Start(cinfo, errors, files.in);
  cinfo.out_color_space = JCS_EXT_BGRA;
  jpeg_start_decompress(&cinfo);
  picture.width = static_cast<int>(cinfo.output_width);
  picture.height = static_cast<int>(cinfo.output_height);
  const std::size_t stride = std::size_t{cinfo.output_width} * 4;
  picture.pixels = {static_cast<unsigned char*>(std::malloc(stride * cinfo.output_height)),
                    [](unsigned char* p) { std::free(p); }};
  if (!picture.pixels) {
    jpeg_destroy_decompress(&cinfo);
    return {};
  }
  constexpr JDIMENSION kRowsPerCall = 16;
  JSAMPROW rows[kRowsPerCall];
  while (cinfo.output_scanline < cinfo.output_height) {
    const JDIMENSION first = cinfo.output_scanline;
    const JDIMENSION count = std::min(kRowsPerCall, cinfo.output_height - first);
    for (JDIMENSION i = 0; i < count; ++i) rows[i] = picture.pixels.get() + (first + i) * stride;
    jpeg_read_scanlines(&cinfo, rows, count);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return picture;
}

}  // namespace bench
