// The JPEG poster decoder on arbitrary file bytes: it returns a full-size picture within the size
// limits or throws platform::Error; any other way out (a crash, another exception, exit()) is a
// fault.
#include <QImage>

#include <cstdint>

#include "fuzz_support.h"
#include "media/jpeg_decoder.h"
#include "media/poster.h"
#include "platform/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static fuzzsupport::ScratchFile poster(".jpg");
  const std::string& path = poster.Write(data, size);
  try {
    // The poster loader's own entry, which hands a ".jpg" name to the decoder.
    const QImage image = media::LoadPictureAsBitmap(path);
    FUZZ_CHECK(!image.isNull());
    FUZZ_CHECK(image.format() == QImage::Format_RGB32);
    FUZZ_CHECK(media::PictureSizeProblem(image.width(), image.height()).empty());
    // Every row was written: reading the last pixel touches the end of the buffer.
    (void)image.pixel(image.width() - 1, image.height() - 1);
  } catch (const platform::Error& error) {
    FUZZ_CHECK(error.what()[0] != '\0');
  }
  return 0;
}
