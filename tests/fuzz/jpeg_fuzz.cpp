// The JPEG poster decoder on arbitrary file bytes: the header's size, then the picture at full size
// and at the size a poster box would draw it, each within the size limits, or a failure with a
// message that ends the run; any other way out (a crash, an exception, exit()) is a fault.
#include <QImage>

#include <cstdint>

#include "fuzz_support.h"
#include "media/jpeg_decoder.h"
#include "media/poster.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static fuzzsupport::ScratchFile poster(".jpg");
  const std::string& path = poster.Write(data, size);
  // The poster loader's own entries, which hand a ".jpg" name to the decoder.
  const platform::Result<QSize> header = media::ReadPosterSize(path);
  if (!header) {
    FUZZ_CHECK(!header.error().empty());
    return 0;
  }
  const QSize natural = *header;
  FUZZ_CHECK(media::CheckPictureSize(natural.width(), natural.height()).ok());
  for (const QSize atLeast : {QSize(), QSize(natural.width() / 5 + 1, natural.height() / 3 + 1)}) {
    const platform::Result<QImage> decoded = media::LoadPictureAsBitmap(path, atLeast);
    if (!decoded) {
      FUZZ_CHECK(!decoded.error().empty());
      return 0;
    }
    const QImage& image = *decoded;
    FUZZ_CHECK(!image.isNull());
    FUZZ_CHECK(image.format() == QImage::Format_RGB32);
    FUZZ_CHECK(image.width() <= natural.width() && image.height() <= natural.height());
    FUZZ_CHECK(atLeast.isEmpty() ? image.size() == natural
                                 : image.width() >= atLeast.width() && image.height() >= atLeast.height());
    // Every row was written: reading the last pixel touches the end of the buffer.
    (void)image.pixel(image.width() - 1, image.height() - 1);
  }
  return 0;
}
