#include "media/poster.h"

#include "media/jpeg_decoder.h"
#include "platform/files.h"
#include "platform/names.h"
#include "platform/numbers.h"
#include "platform/text.h"

#include <QFile>
#include <QImageReader>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <string_view>

namespace media {
namespace {

// What a BMP header says about the pixel data, as far as the size check needs it.
struct BmpLayout {
  std::int64_t width = 0;
  std::int64_t height = 0;  // rows, whichever way up they are stored
  std::int64_t bitsPerPixel = 0;
  std::uint32_t compression = 0;
  std::int64_t dataOffset = 0;
};

constexpr std::uint32_t kBmpRgb = 0;
constexpr std::uint32_t kBmpRle8 = 1;
constexpr std::uint32_t kBmpRle4 = 2;
constexpr std::uint32_t kBmpBitfields = 3;
constexpr std::uint32_t kBmpAlphaBitfields = 6;

// A run-length code spends two bytes on at most 255 pixels; data that would have to stand for
// more pixels than this per byte is mostly skipped area, never a real poster.
constexpr std::int64_t kMaxRlePixelsPerByte = 256;

std::uint32_t Le(std::string_view bytes, std::size_t at, std::size_t size) {
  return size == 2 ? platform::LittleEndian16(bytes, at) : platform::LittleEndian32(bytes, at);
}

// Qt's BMP reader takes these info-header sizes in the Windows layout (32-bit sizes) and any other
// size in the old OS/2 layout (signed 16-bit sizes, never compressed). The size check must read a
// header as the reader will, or a forged header size slips a short file past it.
constexpr std::array<std::uint32_t, 4> kWindowsInfoSizes = {40, 64, 108, 124};

// The header of a file that begins with "BM"; nullopt when it is too damaged to say anything, which
// the image reader then reports.
std::optional<BmpLayout> ParseBmpHeader(std::string_view head) {
  if (head.size() < 26) return std::nullopt;
  BmpLayout layout;
  layout.dataOffset = Le(head, 10, 4);
  const std::uint32_t infoSize = Le(head, 14, 4);
  if (std::find(kWindowsInfoSizes.begin(), kWindowsInfoSizes.end(), infoSize) ==
      kWindowsInfoSizes.end()) {
    layout.width = static_cast<std::int16_t>(Le(head, 18, 2));
    layout.height = static_cast<std::int16_t>(Le(head, 20, 2));
    layout.bitsPerPixel = Le(head, 24, 2);
  } else {
    if (head.size() < 34) return std::nullopt;
    layout.width = static_cast<std::int32_t>(Le(head, 18, 4));
    layout.height = static_cast<std::int32_t>(Le(head, 22, 4));
    layout.bitsPerPixel = Le(head, 28, 2);
    layout.compression = Le(head, 30, 4);
  }
  if (layout.height < 0) layout.height = -layout.height;  // top-down rows
  return layout;
}

// Whether the file can hold the pixels its header declares, and their size is one a poster may
// have. A truncated file would otherwise still make the reader allocate the full picture and return
// it half empty as a success.
platform::Result<void> CheckBmpFits(const BmpLayout& bmp, std::int64_t fileSize) {
  if (bmp.width <= 0 || bmp.height <= 0) return {};  // the reader rejects these itself
  // Refused for its size alone; checking it first also keeps the products below within 64 bits,
  // which a forged header (2^31 pixels a side, 65535 bits a pixel) would otherwise overflow.
  if (platform::Result<void> size = CheckPictureSize(bmp.width, bmp.height, kMaxBmpPictureBytes); !size) return size;
  const std::int64_t available = fileSize - bmp.dataOffset;
  bool fits = true;
  if (bmp.compression == kBmpRgb || bmp.compression == kBmpBitfields ||
      bmp.compression == kBmpAlphaBitfields) {
    const std::int64_t rowBits = bmp.width * bmp.bitsPerPixel;
    const std::int64_t stride = (rowBits + 31) / 32 * 4;
    // The last row's padding is sometimes left out by writers; its pixels are not.
    fits = available >= stride * (bmp.height - 1) + (rowBits + 7) / 8;
  } else if (bmp.compression == kBmpRle8 || bmp.compression == kBmpRle4) {
    fits = available > 0 && bmp.width * bmp.height <= available * kMaxRlePixelsPerByte;
  }
  if (fits) return {};
  return platform::Failure{"The BMP file is damaged: its header declares " + std::to_string(bmp.width) + " x " +
                           std::to_string(bmp.height) + " pixels, more than its " + std::to_string(fileSize) +
                           " bytes can hold"};
}

bool EndsInJpg(std::string_view name) {
  const std::size_t last = std::min<std::size_t>(3, name.size());
  return platform::AsciiUpper(name.substr(name.size() - last)) == "JPG";
}

}  // namespace

PosterFile FindPosterFile(const platform::Listing& here, const std::string& movieFileName) {
  const std::string base = platform::BaseName(movieFileName);
  for (const PosterFile& candidate : {PosterFile{".jpg", kPosterJpeg}, PosterFile{".bmp", kPosterBmp}}) {
    const std::string name = base + candidate.name;
    if (std::string listed = platform::RegularFileName(here, name); !listed.empty()) return {listed, candidate.kind};
  }
  const std::string jpeg = platform::FirstMatch(here, "*.jpg");
  if (platform::CountsAsName(jpeg)) return {jpeg, kPosterJpeg};
  return {platform::FirstMatch(here, "*.bmp"), kPosterBmp};
}

platform::Result<QSize> ReadPosterSize(const std::string& fileName, std::optional<std::string> head) {
  if (!EndsInJpg(fileName)) return QSize(0, 0);
  return ReadJpegSize(fileName, std::move(head));
}

platform::Result<QImage> LoadPictureAsBitmap(const std::string& fileName, QSize atLeast,
                                             std::optional<std::string> head) {
  if (!EndsInJpg(fileName)) return QImage();
  return DecodeJpegFile(fileName, atLeast, nullptr, std::move(head));
}

platform::Result<QImage> LoadBmpPoster(const std::string& fileName) {
  // Opened by its bytes: a disc's file name need not be valid UTF-8, and QFile's own name
  // conversion would not give such a name back. The handle outlives the QFile that reads it.
  const platform::Result<platform::FileHandle> handle = platform::OpenDiscFile(fileName);
  if (!handle) return platform::Failure{handle.error()};
  QFile file;
  if (!file.open(handle->get(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
    return platform::Failure{file.errorString().toStdString()};
  const QByteArray head = file.read(64);
  // A poster is what its name says: a GIF or PNG named .bmp is never decoded by its content.
  if (!head.startsWith("BM")) return platform::Failure{std::string("Not a BMP picture (it does not begin with \"BM\")")};
  const std::optional<BmpLayout> layout =
      ParseBmpHeader(std::string_view(head.constData(), static_cast<std::size_t>(head.size())));
  if (layout) {
    if (platform::Result<void> fits = CheckBmpFits(*layout, file.size()); !fits) return platform::Failure{fits.error()};
  }
  if (!file.seek(0)) return platform::Failure{file.errorString().toStdString()};

  // Qt's own BMP reader, never another plugin that claims to read the format too.
  QImageReader reader(&file, "bmp");
  reader.setAutoDetectImageFormat(false);
  QSize size = reader.size();
  // The reader gives a top-down picture (rows stored first to last) a negative height.
  if (size.height() < 0 && size.height() != std::numeric_limits<int>::min())
    size.setHeight(-size.height());
  // Qt's own text for a bad BMP is often just "Unknown error"; say what was being read.
  if (!size.isValid())
    return platform::Failure{"Not a BMP picture (" + reader.errorString().toStdString() + ")"};
  if (platform::Result<void> allowed = CheckPictureSize(size.width(), size.height(), kMaxBmpPictureBytes); !allowed)
    return platform::Failure{allowed.error()};
  QImage image = reader.read();
  if (image.isNull())
    return platform::Failure{"The BMP picture is damaged (" + reader.errorString().toStdString() + ")"};
  return image;
}

}  // namespace media
