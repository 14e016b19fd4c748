#pragma once
// Decodes poster pictures from a disc, where any file may be damaged or hostile: the size a header
// declares is checked before anything is allocated, and every failure comes back as a
// platform::Error with a message fit for the user's error box.
#include <QImage>

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

// Decodes a JPEG file (baseline or progressive; colour, grayscale, CMYK or YCCK) at full size into
// a Format_RGB32 image. Throws platform::Error with the decoder's message for a file that cannot be
// opened, is not a JPEG, is damaged or truncated, is too large, or has more than 500 scans.
// The file is closed and the decoder released before the error leaves.
QImage DecodeJpegFile(const std::string& path);

}  // namespace media
