// The BMP poster loader on arbitrary file bytes: a picture within the size limits that the file
// could hold, or a failure with a message, and nothing allocated on the word of a forged header.
#include <QCoreApplication>
#include <QImage>

#include <cstdint>

#include "fuzz_support.h"
#include "media/jpeg_decoder.h"
#include "media/poster.h"

// Qt's image reader looks for format plugins through the application object.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static QCoreApplication application(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static fuzzsupport::ScratchFile poster(".bmp");
  const std::string& path = poster.Write(data, size);
  const platform::Result<QImage> image = media::LoadBmpPoster(path);
  if (!image) {
    FUZZ_CHECK(!image.error().empty());
    return 0;
  }
  FUZZ_CHECK(!image->isNull());
  FUZZ_CHECK(media::CheckPictureSize(image->width(), image->height()).ok());
  // The loader refuses a header that promises more pixels than the file can hold: eight a byte
  // at one bit a pixel, 256 a byte where run-length codes skip whole areas.
  const auto pixels = static_cast<std::int64_t>(image->width()) * image->height();
  FUZZ_CHECK(pixels <= static_cast<std::int64_t>(size) * 256);
  return 0;
}
