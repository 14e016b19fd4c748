#pragma once
// Decodes poster pictures from a disc, where any file may be damaged or hostile: the size a header
// declares is checked before anything is allocated, and every failure comes back as a
// platform::Error with a message fit for the user's error box.
#include <QImage>
#include <QSize>

#include <cstdint>
#include <string>

namespace media {

// Largest picture a poster may be: no side above 16384 pixels and at most 128 MiB once decoded at
// 4 bytes a pixel. Real posters are a few megapixels; the limits only stop a forged header from
// making the launcher allocate gigabytes.
inline constexpr std::int64_t kMaxPictureSide = 16384;
inline constexpr std::int64_t kMaxPictureBytes = std::int64_t{128} << 20;

// "" when a picture of this size may be decoded, otherwise the message that refuses it.
std::string PictureSizeProblem(std::int64_t width, std::int64_t height);

// The picture's natural size, from its header alone. Throws platform::Error as DecodeJpegFile does
// for a file that cannot be read, is not a JPEG, is damaged before its frame header or too large.
QSize ReadJpegSize(const std::string& path);

// Decodes a JPEG file (baseline or progressive; colour, grayscale, CMYK or YCCK) into a
// Format_RGB32 image: at full size when `atLeast` is empty, otherwise at the smallest of the
// decoder's DCT scales (1/8 to 8/8) whose result is at least `atLeast` in both directions, which
// saves most of the work and memory for a picture that is shown much smaller than it is. Throws
// platform::Error with the decoder's message for a file that cannot be opened, is not a JPEG, is
// damaged or truncated, is too large, or has more than 500 scans. The file is read in chunks
// through the platform's reader and the decoder released before the error leaves.
QImage DecodeJpegFile(const std::string& path, QSize atLeast = QSize());
// The same at full size for a JPEG already in memory (a picture compiled into the program), so
// no image plugin of the toolkit is needed for it.
QImage DecodeJpegBytes(std::string bytes);

}  // namespace media
