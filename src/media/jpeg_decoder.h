#pragma once
// Decodes poster pictures from a disc, where any file may be damaged or hostile: the size a header
// declares is checked before anything is allocated, and every failure comes back as a failed
// platform::Result with a message fit for the user's error box.
#include <QImage>
#include <QSize>

#include "platform/result.h"

#include <cstdint>
#include <optional>
#include <string>

namespace media {

// Largest picture a poster may be: no side above 16384 pixels and at most 128 MiB once decoded at
// 4 bytes a pixel. Real posters are a few megapixels; the limits only stop a forged header from
// making the launcher allocate gigabytes.
inline constexpr std::int64_t kMaxPictureSide = 16384;
inline constexpr std::int64_t kMaxPictureBytes = std::int64_t{128} << 20;

// The largest poster file the decoder reads. The largest picture allowed above, saved at the
// highest quality without chroma subsampling, takes about 40 MB; real posters take a few. Past this
// a file is refused instead of searched (libjpeg looks through any amount of junk for a marker).
inline constexpr std::int64_t kMaxPosterFileBytes = std::int64_t{64} << 20;

// What libjpeg may keep of a picture's DCT coefficients. A progressive (or other multi-scan) file
// keeps all of them, 128 bytes per 8x8 block of every component, whatever the scale it is decoded
// at: 72 MB for a 4000 x 6000 progressive photo with the usual 4:2:0 sampling, which still shows,
// where a 5792 x 5792 CMYK one would need 268 MB. With the launcher's own 40 MB, the program stays
// under 150 MB. A single-scan file needs one row of blocks and is not limited by this.
inline constexpr std::int64_t kMaxCoefficientBytes = std::int64_t{80} << 20;

// Whether a picture of this size may be decoded; the failure's message refuses it. `maxBytes` is
// the decoded size allowed at 4 bytes a pixel.
platform::Result<void> CheckPictureSize(std::int64_t width, std::int64_t height,
                                        std::int64_t maxBytes = kMaxPictureBytes);

// What one decode read and kept: counts that bound its work, for tests and benchmarks.
struct JpegWork {
  std::int64_t bytesRead = 0;         // the most of the file read, by the decoder or the scan count
  int scansCounted = 0;               // by the walk over the markers before decoding; 0 when none ran
  int scansDecoded = 0;               // scans the decoder went into
  std::int64_t coefficientBytes = 0;  // whole-picture coefficient memory the file asks for
};

// The picture's natural size, from its header alone. Fails as DecodeJpegFile does for a file that
// cannot be read, is not a JPEG, is damaged before its frame header or too large. With `head`, the
// file's first ReadJpegHead bytes already read, the file is read only beyond them.
platform::Result<QSize> ReadJpegSize(const std::string& path, std::optional<std::string> head = std::nullopt);
// The bytes the decoder reads first (256 KiB, the whole of most posters), so that the size and the
// picture can both come from one read. Fails, naming the file, when it cannot be read.
platform::Result<std::string> ReadJpegHead(const std::string& path);

// Decodes a JPEG file (baseline or progressive; colour, grayscale, CMYK or YCCK) into a
// Format_RGB32 image: at full size when `atLeast` is empty, otherwise at the smallest of the
// decoder's DCT scales (1/8 to 8/8) whose result is at least `atLeast` in both directions, which
// saves most of the work and memory for a picture that is shown much smaller than it is. Fails
// with the decoder's message for a file that cannot be opened, is not a JPEG, is damaged or
// truncated, is too large (in pixels, in coefficient memory or in bytes), or has more than 500
// scans; the scans are counted from the markers before any is decoded. The file is read in chunks
// through the platform's reader and the decoder released before the result is given. With
// `work`, what the decode read and kept is written there, on failure too.
platform::Result<QImage> DecodeJpegFile(const std::string& path, QSize atLeast = QSize(), JpegWork* work = nullptr,
                                        std::optional<std::string> head = std::nullopt);
// The same at full size for a JPEG already in memory (a picture compiled into the program), so
// no image plugin of the toolkit is needed for it.
platform::Result<QImage> DecodeJpegBytes(std::string bytes);

}  // namespace media
