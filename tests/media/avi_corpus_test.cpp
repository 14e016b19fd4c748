// The reader and the report on movies written by ffmpeg, mencoder and GStreamer's avimux
// (tests/data/avi/README.md says how each was made). The expected figures agree with what
// mediainfo and ffprobe say of the same files, as far as the report's rounding shows them.
#include <gtest/gtest.h>

#include <QFile>

#include <array>
#include <string>

#include "media/avi.h"
#include "media/report.h"
#include "platform/files.h"
#include "support/temp_dir.h"

namespace {

std::string Resource(const std::string& name) {
  QFile file(QString::fromStdString(":/avi/" + name));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
  const QByteArray bytes = file.readAll();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

template <typename T>
T Le(std::string_view bytes, std::size_t at) {
  T value = 0;
  for (std::size_t i = sizeof(T); i-- > 0;) value = static_cast<T>(value << 8 | static_cast<unsigned char>(bytes.at(at + i)));
  return value;
}

// Lays out a movie of which only the headers were kept (make-sparse-map.py) as a sparse file of
// its full size: the headers where the writer put them, zeros for the frames.
std::string WriteSparseMovie(const testsupport::TempDir& dir, const std::string& mapName) {
  const std::string map = Resource(mapName);
  EXPECT_EQ(map.substr(0, 8), "AVIMAP1\n");
  const std::string path = dir / (mapName.substr(0, mapName.rfind('.')) + ".avi");
  QFile file(QString::fromStdString(path));
  EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  EXPECT_TRUE(file.resize(Le<qint64>(map, 8)));
  for (std::size_t at = 16; at + 12 <= map.size();) {
    const auto offset = Le<qint64>(map, at);
    const auto length = Le<std::uint32_t>(map, at + 8);
    EXPECT_TRUE(file.seek(offset));
    EXPECT_EQ(file.write(map.data() + at + 12, length), length);
    at += 12 + length;
  }
  return path;
}

std::optional<media::AviFacts> ReadMovie(const std::string& path) {
  return media::ReadAviFactsWith([&](std::int64_t offset, std::size_t count) { return platform::ReadAt(path, offset, count); },
                                 platform::FileSize(path).value_or(-1));
}

using enum media::SizeSource;
using enum media::LengthSource;

// The report's values: lines 2, 3, 5, 6 (size, length, video codec, rate) and 11 to 14 (audio).
using Four = std::array<const char*, 4>;
constexpr std::size_t kVideoLines[] = {1, 2, 4, 5}, kAudioLines[] = {10, 11, 12, 13};

struct CorpusMovie {
  const char* file;  // .avimap: a big movie laid out sparse
  int videoStream, audioStream;
  media::SizeSource size;
  media::LengthSource length;
  Four video, audio;
};

constexpr const char* kXvid = "XviD MPEG-4(XVID)";
constexpr const char* kMjpg = "Microsoft - Motion JPEG DIB Format(MJPG)";
constexpr const char* kI420 = "Intel - Indeo 4 codec(I420)";
constexpr const char* kNoLength = " min  sec";
constexpr const char* k200s = "3 min 20 sec";
constexpr Four kMp3Stereo = {"MPEG Layer 3", "64 Kbit/s", "44100 Hz", "2"};
constexpr Four kMp3Mono = {"MPEG Layer 3", "64 Kbit/s", "44100 Hz", "1"};
constexpr Four kPcm = {"Microsoft PCM", "750 Kbit/s", "48000 Hz", "1"};
constexpr Four kNoAudio = {"", "", "", ""};

const CorpusMovie kCorpus[] = {
    // Ordinary two-stream movies: one RIFF chunk, video first.
    {"ffmpeg-xvid-mp3.avi", 0, 1, RiffChunk, MainHeader, {".01 MB", kNoLength, kXvid, "205 KBit/s"}, kMp3Stereo},
    {"mencoder-xvid-mp3.avi", 0, 1, RiffChunk, MainHeader, {".01 MB", kNoLength, kXvid, "115 KBit/s"}, kMp3Mono},
    {"gst-mjpeg-mp3.avi", 0, 1, RiffChunk, OpenDmlHeader, {".01 MB", kNoLength, kMjpg, "217 KBit/s"},
     {"MPEG Layer 3", "64 Kbit/s", "24000 Hz", "2"}},
    // No audio stream: ffmpeg's INFO list, mencoder's JUNK and avimux's odml list follow the video.
    {"ffmpeg-no-audio.avi", 0, -1, RiffChunk, MainHeader, {".01 MB", kNoLength, kXvid, "133 KBit/s"}, kNoAudio},
    {"mencoder-no-audio.avi", 0, -1, RiffChunk, MainHeader, {" MB", kNoLength, kXvid, "99 KBit/s"}, kNoAudio},
    {"gst-no-audio.avi", 0, -1, RiffChunk, OpenDmlHeader, {".01 MB", kNoLength, kMjpg, "187 KBit/s"}, kNoAudio},
    // The audio stream first (ffmpeg -map 1:a -map 0:v).
    {"ffmpeg-audio-first.avi", 1, 0, RiffChunk, MainHeader, {".01 MB", kNoLength, kXvid, "205 KBit/s"}, kMp3Stereo},
    // Written into a pipe: RIFF sizes of 0xFFFFFFFF, 0xFFFFFFF8 and the header's own, no frame count
    // but ffmpeg's placeholder of 2^30 in the stream header. No header holds the length (mediainfo
    // finds none either).
    {"ffmpeg-pipe.avi", 0, 1, File, None, {".01 MB", kNoLength, kXvid, " KBit/s"}, kMp3Stereo},
    {"mencoder-pipe.avi", 0, 1, File, None, {".01 MB", kNoLength, kXvid, " KBit/s"}, kMp3Mono},
    {"gst-pipe.avi", 0, 1, File, None, {".01 MB", kNoLength, kMjpg, " KBit/s"}, {"MPEG Layer 3", " Kbit/s", "24000 Hz", "2"}},
    // 200 s of raw video, 2.16 GiB: OpenDML with two AVIX chunks (ffmpeg, mencoder), and one RIFF
    // chunk of 2 GiB or more (mencoder -noodml). mediainfo and ffprobe: 200 s, 92.9 Mbit/s in all.
    // mencoder's extended header counts only the first chunk's 2310 of the 5000 frames.
    {"ffmpeg-opendml-2gib.avimap", 0, 1, File, OpenDmlHeader, {"2215.91 MB", k200s, kI420, "90014 KBit/s"}, kPcm},
    {"mencoder-opendml-2gib.avimap", 0, 1, File, VideoStreamHeader, {"2215.7 MB", k200s, kI420, "90005 KBit/s"}, kPcm},
    {"mencoder-noodml-2gib.avimap", 0, 1, RiffChunk, MainHeader, {"2215.7 MB", k200s, kI420, "90005 KBit/s"}, kPcm},
};

TEST(AviCorpus, ReportsWhatTheWritersWrote) {
  testsupport::TempDir dir;
  for (const CorpusMovie& movie : kCorpus) {
    SCOPED_TRACE(movie.file);
    const std::string name = movie.file;
    const std::string path = name.ends_with(".avimap") ? WriteSparseMovie(dir, name) : dir.Write(name, Resource(name));
    const std::optional<media::AviFacts> facts = ReadMovie(path);
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->VideoStream, movie.videoStream);
    EXPECT_EQ(facts->AudioStream, movie.audioStream);
    const media::MovieSize size = media::MovieSizeOf(*facts);
    EXPECT_EQ(size.source, movie.size);
    EXPECT_EQ(size.bytes, platform::FileSize(path).value() - (movie.size == File ? 0 : 8));
    EXPECT_EQ(media::MovieLengthOf(*facts).source, movie.length);
    const std::vector<media::ReportLine> report = media::BuildMediaReport(*facts, '.');
    ASSERT_EQ(report.size(), 15u);
    for (std::size_t i = 0; i < 4; ++i) {
      EXPECT_EQ(report[kVideoLines[i]].runs.at(1).text, movie.video[i]) << report[kVideoLines[i]].PlainText();
      EXPECT_EQ(report[kAudioLines[i]].runs.at(1).text, movie.audio[i]) << report[kAudioLines[i]].PlainText();
    }
  }
}

}  // namespace
