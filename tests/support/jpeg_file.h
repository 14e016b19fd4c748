#pragma once
// Writes a picture as a JPEG file with libjpeg, the library the launcher decodes with, so that
// tests do not depend on the toolkit having a JPEG plugin (the static Windows one has none).
#include <jpeglib.h>

#include <QImage>
#include <cstdio>
#include <string>
#include <vector>

namespace testsupport {

inline bool SaveJpeg(const QImage& picture, const std::string& path, int quality = 75) {
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
  if (rgb.isNull()) return false;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr errors{};
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, file);
  cinfo.image_width = static_cast<JDIMENSION>(rgb.width());
  cinfo.image_height = static_cast<JDIMENSION>(rgb.height());
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(cinfo.next_scanline)));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return std::fclose(file) == 0;
}

}  // namespace testsupport
