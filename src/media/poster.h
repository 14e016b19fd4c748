#pragma once
// The poster beside the movie: which picture file it is, and loading it for the poster box.
#include <QImage>

#include "platform/files.h"
#include "platform/result.h"

#include <cstdint>
#include <optional>
#include <string>

namespace media {

// What kind of picture the poster is; the values are the program-wide PosterKind's.
enum PosterKind : int { kPosterNone = 0, kPosterJpeg = 1, kPosterBmp = 2 };

struct PosterFile {
  std::string name;  // as spelled on disk, relative to the current directory; "" when none
  PosterKind kind = kPosterNone;
  bool operator==(const PosterFile&) const = default;
};

// The poster beside the movie `movieFileName`. A picture named like the movie wins over any other,
// a JPEG over a BMP of the same name, and any "*.jpg" over any "*.bmp". When nothing is found the
// kind is kPosterBmp, which callers ignore for an empty name. Answers from the listing of the
// movie's directory, `here`.
PosterFile FindPosterFile(const platform::Listing& here, const std::string& movieFileName);

// A JPEG poster's natural size, read from its header: the size the window is fitted to, whatever
// size the poster is then decoded at. An empty size for a name whose last three letters are not
// "JPG" (any case). Fails as LoadPictureAsBitmap does. With `head` (ReadJpegHead) only the bytes
// beyond it are read.
platform::Result<QSize> ReadPosterSize(const std::string& fileName, std::optional<std::string> head = std::nullopt);

// A JPEG poster, at full size or, with `atLeast`, at the smallest decoder scale that still covers
// the size the poster box draws it at (see DecodeJpegFile). A name whose last three letters are
// not "JPG" (any case) gives a null image, which the caller's width test rejects. Fails with the
// decoder's message when the file cannot be decoded. With `head` (ReadJpegHead) only the bytes
// beyond it are read.
platform::Result<QImage> LoadPictureAsBitmap(const std::string& fileName, QSize atLeast = QSize(),
                                             std::optional<std::string> head = std::nullopt);

// A BMP poster is decoded whole, at 4 bytes a pixel for most kinds (Qt's reader cannot reduce it as
// it reads), where a JPEG is decoded no larger than it is drawn. So it is allowed less: 64 MiB
// decoded (4096 x 4096 pixels), which with the launcher's own 40 MB stays under 150 MB. BMP
// posters are rarely more than a megapixel.
inline constexpr std::int64_t kMaxBmpPictureBytes = std::int64_t{64} << 20;

// A BMP poster. Fails with the reader's message when the file cannot be read, and refuses, before
// allocating, a picture that is too large or larger than the file could hold.
platform::Result<QImage> LoadBmpPoster(const std::string& fileName);

}  // namespace media
