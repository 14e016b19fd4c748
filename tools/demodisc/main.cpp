// Writes a demo movie disc into a directory:  autorun-demodisc DIR
// The disc holds what a real one holds: a short XviD/MP3 AVI with standard headers, its subtitle,
// poster and release notes, the two players' INI files and two stand-in players that log how the
// launcher called them. Written with Qt and the standard library only, so that it shares no code
// (and no mistakes) with the reader it is meant to exercise.
#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string kBaseName = "Harbor.Of.Echoes.2026.DVDRip.XviD-DEMON";

// Little-endian RIFF writer; list and chunk sizes are patched when the chunk is closed.
class RiffWriter {
 public:
  void FourCC(std::string_view id) { data_.append(id.substr(0, 4)); }
  void U16(uint16_t v) { data_.push_back(char(v & 0xff)), data_.push_back(char(v >> 8)); }
  void U32(uint32_t v) { for (int i = 0; i < 4; ++i) data_.push_back(char((v >> (8 * i)) & 0xff)); }
  void Bytes(std::string_view bytes) { data_.append(bytes); }
  // Opens a chunk (or a LIST/RIFF with its type) and returns the offset of its size field.
  size_t Open(std::string_view id, std::string_view listType = {}) {
    FourCC(id);
    const size_t sizeAt = data_.size();
    U32(0);
    if (!listType.empty()) FourCC(listType);
    return sizeAt;
  }
  void Close(size_t sizeAt) {
    const uint32_t size = uint32_t(data_.size() - sizeAt - 4);
    for (int i = 0; i < 4; ++i) data_[sizeAt + i] = char((size >> (8 * i)) & 0xff);
    if (size % 2 != 0) data_.push_back('\0');
  }
  size_t Size() const { return data_.size(); }
  const std::string& Data() const { return data_; }

 private:
  std::string data_;
};

// The movie: 10 seconds at 23.976 frames per second. The video frames are empty chunks (dropped
// frames), the audio is real, silent MPEG-1 Layer III at 128 kbit/s, so the headers can tell the
// truth about the stream without the file growing large.
constexpr uint32_t kMicroSecPerFrame = 41708, kFrames = 240, kWidth = 640, kHeight = 272;
constexpr uint32_t kFramesPerSecond = 24, kAudioBytesPerSec = 16000, kMp3FrameBytes = 384;
constexpr uint32_t kAviifKeyframe = 0x10, kAvifHasIndex = 0x10, kAvifIsInterleaved = 0x100;

// Silent MP3 frames for second k of the movie: 48000 Hz / 1152 samples = 41 2/3 frames a second.
uint32_t Mp3FramesInSecond(uint32_t k) { return (k + 1) * 125 / 3 - k * 125 / 3; }

std::string SilentMp3Frames(uint32_t count) {
  std::string frame(kMp3FrameBytes, '\0');
  frame[0] = char(0xff), frame[1] = char(0xfb), frame[2] = char(0x94), frame[3] = char(0x04);
  std::string out;
  for (uint32_t i = 0; i < count; ++i) out += frame;
  return out;
}

void StreamHeader(RiffWriter& w, std::string_view type, std::string_view handler, uint32_t scale,
                  uint32_t rate, uint32_t length, uint32_t bufferSize, uint32_t sampleSize,
                  uint16_t width, uint16_t height) {
  const size_t strh = w.Open("strh");
  w.FourCC(type);
  if (handler.empty()) w.U32(0); else w.FourCC(handler);
  w.U32(0);                   // flags
  w.U16(0), w.U16(0);         // priority, language
  w.U32(0);                   // initial frames
  w.U32(scale), w.U32(rate);  // rate / scale = samples per second
  w.U32(0), w.U32(length), w.U32(bufferSize);
  w.U32(0xffffffff);  // quality: default
  w.U32(sampleSize);
  w.U16(0), w.U16(0), w.U16(width), w.U16(height);  // frame rectangle
  w.Close(strh);
}

void MainHeader(RiffWriter& w, uint32_t largestChunk) {
  const size_t avih = w.Open("avih");
  w.U32(kMicroSecPerFrame);
  w.U32(largestChunk + 8 * (kFramesPerSecond + 1));  // most bytes in any second
  w.U32(0);                                           // padding granularity
  w.U32(kAvifHasIndex | kAvifIsInterleaved);
  w.U32(kFrames), w.U32(0), w.U32(2), w.U32(largestChunk + 8);
  w.U32(kWidth), w.U32(kHeight);
  for (int i = 0; i < 4; ++i) w.U32(0);
  w.Close(avih);
}

void VideoStreamList(RiffWriter& w) {
  const size_t video = w.Open("LIST", "strl");
  StreamHeader(w, "vids", "XVID", kMicroSecPerFrame, 1000000, kFrames, 0, 0, kWidth, kHeight);
  const size_t bitmapInfo = w.Open("strf");
  w.U32(40), w.U32(kWidth), w.U32(kHeight);
  w.U16(1), w.U16(24);
  w.FourCC("XVID");
  w.U32(kWidth * kHeight * 3), w.U32(0), w.U32(0), w.U32(0), w.U32(0);
  w.Close(bitmapInfo);
  w.Close(video);
}

void AudioStreamList(RiffWriter& w, uint32_t audioBytes, uint32_t largestChunk) {
  const size_t audio = w.Open("LIST", "strl");
  StreamHeader(w, "auds", "", 1, kAudioBytesPerSec, audioBytes, largestChunk, 1, 0, 0);
  const size_t waveFormat = w.Open("strf");
  w.U16(0x55), w.U16(2), w.U32(48000), w.U32(kAudioBytesPerSec);  // MPEG Layer 3, stereo
  w.U16(1), w.U16(0), w.U16(12);                                    // align, bits, extra size
  w.U16(1), w.U32(2), w.U16(kMp3FrameBytes), w.U16(1), w.U16(1393);  // MPEGLAYER3WAVEFORMAT
  w.Close(waveFormat);
  w.Close(audio);
}

// One second of sound ahead of each second of pictures, then the index of every chunk.
void MovieDataAndIndex(RiffWriter& w) {
  struct IndexEntry {
    std::string_view id;
    uint32_t flags, offset, size;
  };
  std::vector<IndexEntry> index;
  const size_t movi = w.Open("LIST", "movi");
  const size_t moviType = movi + 4;  // index offsets count from the list type
  for (uint32_t frame = 0; frame < kFrames; ++frame) {
    if (frame % kFramesPerSecond == 0) {
      const std::string mp3 = SilentMp3Frames(Mp3FramesInSecond(frame / kFramesPerSecond));
      index.push_back({"01wb", kAviifKeyframe, uint32_t(w.Size() - moviType), uint32_t(mp3.size())});
      const size_t chunk = w.Open("01wb");
      w.Bytes(mp3);
      w.Close(chunk);
    }
    index.push_back({"00dc", frame == 0 ? kAviifKeyframe : 0, uint32_t(w.Size() - moviType), 0});
    w.Close(w.Open("00dc"));
  }
  w.Close(movi);
  const size_t idx1 = w.Open("idx1");
  for (const IndexEntry& entry : index) {
    w.FourCC(entry.id);
    w.U32(entry.flags), w.U32(entry.offset), w.U32(entry.size);
  }
  w.Close(idx1);
}

// The standard layout of an ordinary two-stream movie: header list (main header, video stream
// list, audio stream list), then the data list and the index.
std::string BuildAvi() {
  uint32_t audioBytes = 0, largestChunk = 0;
  for (uint32_t k = 0; k < kFrames / kFramesPerSecond; ++k) {
    audioBytes += Mp3FramesInSecond(k) * kMp3FrameBytes;
    largestChunk = std::max(largestChunk, Mp3FramesInSecond(k) * kMp3FrameBytes);
  }
  RiffWriter w;
  const size_t riff = w.Open("RIFF", "AVI ");
  const size_t hdrl = w.Open("LIST", "hdrl");
  MainHeader(w, largestChunk);
  VideoStreamList(w);
  AudioStreamList(w, audioBytes, largestChunk);
  w.Close(hdrl);
  const size_t info = w.Open("LIST", "INFO");
  const size_t software = w.Open("ISFT");
  w.Bytes(std::string_view("autorun-demodisc", 17));  // with its terminating zero
  w.Close(software);
  w.Close(info);
  // Writers pad the headers so that the movie data starts on a 2 KiB boundary.
  const size_t junk = w.Open("JUNK");
  while (w.Size() < 2048 - 12) w.U32(0);
  w.Close(junk);
  MovieDataAndIndex(w);
  w.Close(riff);
  return w.Data();
}

// CRLF line ends throughout: the disc is made for a Windows launcher and Windows players.
std::string Lines(std::initializer_list<std::string_view> lines) {
  std::string out;
  for (std::string_view line : lines) out.append(line).append("\r\n");
  return out;
}

std::string Subtitles() {
  return Lines({"1", "00:00:00,800 --> 00:00:02,900", "The fog came in before the boats did.", "",
                "2", "00:00:03,200 --> 00:00:05,400", "Do you hear that?", "- It's only the bell.",
                "", "3", "00:00:05,800 --> 00:00:07,600", "There hasn't been a bell",
                "in this harbor for forty years.", "", "4", "00:00:08,000 --> 00:00:09,800",
                "<i>Then who is ringing it?</i>", ""});
}

// Release notes in the scene's house style: CP437 box drawing, written as raw bytes.
std::string ReleaseNotes() {
  const std::string top = "\xc9" + std::string(58, '\xcd') + "\xbb";
  const std::string rule = "\xcc" + std::string(58, '\xcd') + "\xb9";
  const std::string bottom = "\xc8" + std::string(58, '\xcd') + "\xbc";
  const auto row = [](std::string_view text) {
    std::string line = "\xba " + std::string(text);
    line.resize(59, ' ');
    return line + "\xba";
  };
  const std::string shade = std::string(6, '\xb0') + std::string(6, '\xb1') +
                            std::string(6, '\xb2') + std::string(6, '\xdb');
  return Lines({"  " + shade + "  D E M O N  " + std::string(shade.rbegin(), shade.rend()), "",
                top, row("            HARBOR OF ECHOES (2026)"), rule,
                row("Release date ...: 07.12.2026"), row("Runtime ........: 0h 00m 10s"),
                row("Video ..........: XviD, 640 x 272, 23.976 fps"),
                row("Audio ..........: MP3, 128 kbit/s, 48 kHz, stereo"),
                row("Language .......: English"),
                row("Subtitles ......: English (.srt)"), row("Source .........: DVD"), rule,
                row("A lighthouse keeper's daughter hears a bell that has"),
                row("not rung in forty years. Only she remembers why."), rule,
                row("Demo disc for the Autorun launcher: the film, its"),
                row("cast and this release are invented. The video holds"),
                row("no pictures; the sound track is silent."), bottom, "",
                "      \xfe Greets to all who still burn their own discs \xfe"});
}

// No vplayer.ini: as on a typical disc, VPlayer then gets the movie and its subtitle on its
// command line, while BSPlayer is handed its INI file, which the launcher brings up to date.
std::string BPlayIni() {
  return Lines({"[General]", "Version=0.86", "Skin=Default", "OnTop=0", "Volume=75", "",
                "[Movie]", "FName=Old.Disc.Movie.avi", "Directory=D:\\", "Zoom=1", "",
                "[Subtitles]", "Sub1=", "Directory=", "Font=Tahoma,18,1", "Color=65535",
                "Enabled=1", "", "[Playlist]", "Count=0", "Repeat=0"});
}

// The stand-in player prints each argument in brackets and the working directory, and appends the
// same to player-calls.log beside itself, so a demo run shows what a real player would receive.
std::string StandInPlayer(std::string_view name) {
  std::string script = "#!/bin/sh\n# Stand-in for " + std::string(name) +
                       " on the demo disc: records how the launcher started it.\n";
  script += "disc=$(cd \"$(dirname \"$0\")\" && pwd)\n";
  script += "{\n  echo \"=== " + std::string(name) + " started $(date '+%Y-%m-%d %H:%M:%S')\"\n";
  script +=
      "  echo \"working directory: $(pwd)\"\n"
      "  echo \"arguments: $#\"\n"
      "  for arg in \"$@\"; do printf '[%s]\\n' \"$arg\"; done\n"
      "} | tee -a \"$disc/player-calls.log\"\n"
      "if [ -n \"${DISPLAY:-}\" ] && command -v xmessage >/dev/null 2>&1; then\n"
      "  tail -n $(($# + 3)) \"$disc/player-calls.log\" |\n"
      "    xmessage -title '" + std::string(name) + "' -timeout 15 -file - >/dev/null 2>&1 &\n"
      "fi\n"
      "exit 0\n";
  return script;
}

void DrawCentred(QPainter& p, qreal y, const QString& text, const QFont& font, const QBrush& fill,
                 qreal maxWidth = 380) {
  const QFontMetricsF metrics(font);
  const qreal width = metrics.horizontalAdvance(text);
  QPainterPath path;
  path.addText(-width / 2, 0, font, text);
  QTransform place;
  place.translate(200, y);
  if (width > maxWidth) place.scale(maxWidth / width, 1);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 150));
  p.drawPath(place.map(path).translated(2, 2));
  p.setBrush(fill);
  p.drawPath(place.map(path));
}

QFont PosterFont(const QString& family, int pixels, int weight, qreal spacing = 100) {
  QFont font(family);
  font.setPixelSize(pixels);
  font.setWeight(QFont::Weight(weight));
  font.setLetterSpacing(QFont::PercentageSpacing, spacing);
  return font;
}

// A night harbour: dusk sky, moon, a lighthouse on the rocks sweeping its beam over the water.
QImage Poster() {
  QImage image(400, 600, QImage::Format_RGB888);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, 400);
  sky.setColorAt(0, QColor(8, 20, 45));
  sky.setColorAt(0.6, QColor(40, 70, 105));
  sky.setColorAt(1, QColor(225, 140, 90));
  p.fillRect(0, 0, 400, 400, sky);
  const QPointF moonCentre(318, 262);
  QRadialGradient moon(moonCentre, 50);
  moon.setColorAt(0, QColor(255, 250, 225));
  moon.setColorAt(0.45, QColor(250, 240, 200));
  moon.setColorAt(0.5, QColor(250, 240, 200, 90));
  moon.setColorAt(1, QColor(250, 240, 200, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(moon);
  p.drawEllipse(moonCentre, 50, 50);
  QLinearGradient sea(0, 400, 0, 600);
  sea.setColorAt(0, QColor(60, 60, 85));
  sea.setColorAt(1, QColor(5, 12, 25));
  p.fillRect(0, 400, 400, 200, sea);
  p.setPen(QPen(QColor(255, 230, 190, 90), 2));
  for (int i = 0; i < 9; ++i) {
    const qreal y = 408 + i * 10, half = 34 - i * 3;
    p.drawLine(QPointF(moonCentre.x() - half, y), QPointF(moonCentre.x() + half, y));
  }
  QPolygonF beam({QPointF(96, 262), QPointF(400, 190), QPointF(400, 300)});
  QLinearGradient beamFill(96, 262, 400, 245);
  beamFill.setColorAt(0, QColor(255, 245, 200, 190));
  beamFill.setColorAt(1, QColor(255, 245, 200, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(beamFill);
  p.drawPolygon(beam);
  p.setBrush(QColor(10, 12, 20));
  p.drawPolygon(QPolygonF({QPointF(0, 420), QPointF(30, 380), QPointF(80, 372), QPointF(140, 385),
                           QPointF(175, 420)}));
  p.drawPolygon(QPolygonF({QPointF(78, 376), QPointF(86, 270), QPointF(106, 270),
                           QPointF(114, 376)}));
  p.drawRect(QRectF(82, 250, 28, 20));
  p.drawPolygon(QPolygonF({QPointF(80, 250), QPointF(96, 232), QPointF(112, 250)}));
  p.setBrush(QColor(255, 235, 170));
  p.drawRect(QRectF(88, 254, 16, 12));
  DrawCentred(p, 62, "SOME LIGHTS NEVER GO OUT", PosterFont("Liberation Sans", 15, 700, 120),
              QColor(230, 235, 245));
  QLinearGradient silver(0, 80, 0, 150);
  silver.setColorAt(0, QColor(255, 255, 255));
  silver.setColorAt(1, QColor(170, 195, 225));
  DrawCentred(p, 128, "HARBOR", PosterFont("DejaVu Serif", 58, 700, 104), silver);
  DrawCentred(p, 178, "OF ECHOES", PosterFont("DejaVu Serif", 40, 700, 104), silver);
  const QFont names = PosterFont("Liberation Sans", 13, 700);
  DrawCentred(p, 518, "MIRA HOLLOWAY   TOBIAS KREEL   ANNIKA SOLBERG", names,
              QColor(235, 235, 240));
  const QFont billing = PosterFont("Liberation Sans Narrow", 10, 400);
  DrawCentred(p, 536, "A GREY TIDE FILMS PRODUCTION   MUSIC BY HALVARD NESS   EDITED BY PIA LORENTZ",
              billing, QColor(200, 205, 215));
  DrawCentred(p, 549, "PHOTOGRAPHY BY OWEN MARSH   WRITTEN AND DIRECTED BY INGRID FALK", billing,
              QColor(200, 205, 215));
  DrawCentred(p, 580, "2026", PosterFont("Liberation Sans", 18, 700, 140), QColor(240, 200, 140));
  return image;
}

bool WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  out.close();
  return bool(out);
}

bool WriteExecutable(const fs::path& path, const std::string& script) {
  if (!WriteBytes(path, script)) return false;
  std::error_code error;
  fs::permissions(path,
                  fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                  fs::perm_options::add, error);
  return !error;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: autorun-demodisc DIR\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  const fs::path disc(argv[1]);
  std::error_code error;
  fs::create_directories(disc, error);
  if (error) {
    std::fprintf(stderr, "cannot create %s: %s\n", argv[1], error.message().c_str());
    return 1;
  }
  const fs::path base = disc / kBaseName;
  const bool ok =
      WriteBytes(fs::path(base).concat(".avi"), BuildAvi()) &&
      WriteBytes(fs::path(base).concat(".srt"), Subtitles()) &&
      Poster().save(QString::fromStdString(fs::path(base).concat(".jpg").string()), "JPG", 88) &&
      WriteBytes(disc / "demon.nfo", ReleaseNotes()) &&
      WriteBytes(disc / "bplay.ini", BPlayIni()) &&
      WriteExecutable(disc / "vplayer.exe", StandInPlayer("vplayer.exe")) &&
      WriteExecutable(disc / "bplay.exe", StandInPlayer("bplay.exe"));
  if (!ok) {
    std::fprintf(stderr, "writing the demo disc into %s failed\n", argv[1]);
    return 1;
  }
  std::printf("demo disc written to %s (movie %s.avi)\n", argv[1], kBaseName.c_str());
  return 0;
}
