#include "peer_jpeg.h"

#include <jpeglib.h>
#include <sys/mman.h>

#include <algorithm>
#include <cstddef>  // jpeglib.h needs size_t and FILE declared first
#include <cstdint>
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

// A fresh buffer of `bytes`, released by the shared pointer. Huge pages need a 2 MiB aligned
// start, so that mapping is over-allocated by one huge page and aligned by hand.
std::shared_ptr<unsigned char> Allocate(std::size_t bytes, PixelMemory memory) {
  if (memory == PixelMemory::kMalloc)
    return {static_cast<unsigned char*>(std::malloc(bytes)),
            [](unsigned char* p) { std::free(p); }};
  constexpr std::size_t kHugePage = std::size_t{2} << 20;
  const std::size_t mapped = bytes + kHugePage;
  void* base = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (base == MAP_FAILED) return {};
  const auto start = (reinterpret_cast<std::uintptr_t>(base) + kHugePage - 1) & ~(kHugePage - 1);
  ::madvise(reinterpret_cast<void*>(start), bytes, MADV_HUGEPAGE);
  return {reinterpret_cast<unsigned char*>(start),
          [base, mapped](unsigned char*) { ::munmap(base, mapped); }};
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

DecodedPicture PeerDecodeToBuffer(const std::string& path, PixelMemory memory,
                                  int scaleDenominator) {
  DecodedPicture picture;
  Files files;
  files.in = std::fopen(path.c_str(), "rb");
  if (!files.in) return picture;
  jpeg_decompress_struct cinfo{};
  jpeg_error_mgr errors{};
  Start(cinfo, errors, files.in);
  cinfo.out_color_space = JCS_EXT_BGRA;
  cinfo.scale_num = 1;
  cinfo.scale_denom = static_cast<unsigned int>(scaleDenominator);
  jpeg_start_decompress(&cinfo);
  picture.width = static_cast<int>(cinfo.output_width);
  picture.height = static_cast<int>(cinfo.output_height);
  const std::size_t stride = std::size_t{cinfo.output_width} * 4;
  picture.pixels = Allocate(stride * cinfo.output_height, memory);
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
