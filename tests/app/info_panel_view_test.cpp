// The text panel: the report as navy runs with bold labels, the notes after it as plain text.
#include "app/info_panel_view.h"
#include "app/startup_files.h"
#include "media/avi.h"
#include "media/report.h"
#include "support/avi_bytes.h"
#include "support/temp_dir.h"

#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFragment>
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using testsupport::ScopedChdir;
using testsupport::TempDir;

// The panel as the window fills it: the content built, then drawn.
media::InfoPanelContent Fill(QTextEdit& panel, int windowWidth) {
  const std::string notes = media::FindNotesFile(platform::ListDirectory(""));
  media::InfoPanelContent content = app::ReadInfoPanel("film.avi", notes, windowWidth, '.');
  app::DrawInfoPanel(panel, content);
  return content;
}

struct Fixture {
  TempDir dir;
  Fixture() { dir.Write("film.avi", testsupport::AviBytes()); }
  std::vector<std::string> ReportText() {
    const std::optional<media::AviFacts> facts = app::ReadAviFacts(dir / "film.avi");
    EXPECT_TRUE(facts);
    std::vector<std::string> lines;
    if (facts)
      for (const media::ReportLine& line : media::BuildMediaReport(*facts, '.'))
        lines.push_back(line.PlainText());
    return lines;
  }
};

std::vector<QTextBlock> Blocks(const QTextEdit& panel) {
  std::vector<QTextBlock> blocks;
  for (QTextBlock block = panel.document()->begin(); block.isValid(); block = block.next())
    blocks.push_back(block);
  return blocks;
}

// Every run of a paragraph: its text, whether it is bold, and whether it is navy.
struct TextRun {
  QString text;
  bool bold;
  bool navy;
};
std::vector<TextRun> Runs(const QTextBlock& block) {
  std::vector<TextRun> runs;
  for (auto it = block.begin(); !it.atEnd(); ++it) {
    const QTextFragment fragment = it.fragment();
    const QTextCharFormat format = fragment.charFormat();
    runs.push_back({fragment.text(), format.fontWeight() == QFont::Bold,
                    format.foreground().color() == QColor(0, 0, 128)});
  }
  return runs;
}

TEST(FillInfoPanel, ReportInNavyWithBoldLabelsThenTheNotes) {
  Fixture f;
  f.dir.Write("release.nfo", "\xC9\xCD\xBB <b>not markup</b>\r\n\r\nGreetings\r\n");
  ScopedChdir into(f.dir.path());
  QTextEdit panel;
  panel.setPlainText("left over from before");

  const media::InfoPanelContent content = Fill(panel, 640);

  ASSERT_TRUE(content.facts);
  EXPECT_EQ(content.facts->FrameWidth, 640);
  EXPECT_EQ(content.facts->FrameHeight, 272);
  EXPECT_EQ(content.notesFile, "release.nfo");
  const std::vector<std::string> report = f.ReportText();
  ASSERT_EQ(report.size(), 15u);
  const std::vector<QTextBlock> blocks = Blocks(panel);
  ASSERT_EQ(blocks.size(), 18u);
  for (std::size_t i = 0; i < report.size(); ++i) {
    SCOPED_TRACE("report line " + std::to_string(i + 1));
    EXPECT_EQ(blocks[i].text().toStdString(), report[i]);
    const std::vector<TextRun> runs = Runs(blocks[i]);
    ASSERT_FALSE(runs.empty());
    for (const TextRun& run : runs) EXPECT_TRUE(run.navy) << run.text.toStdString();
  }
  // A label line: bold label, regular value; headings bold alone; the closing rule regular.
  const std::vector<TextRun> size = Runs(blocks[1]);
  ASSERT_EQ(size.size(), 2u);
  EXPECT_EQ(size[0].text, "     Size: ");
  EXPECT_TRUE(size[0].bold);
  EXPECT_FALSE(size[1].bold);
  EXPECT_TRUE(Runs(blocks[0])[0].bold);
  EXPECT_FALSE(Runs(blocks[14])[0].bold);

  const QString notes[] = {QString::fromUtf16(u"╔═╗ <b>not markup</b>"), "", "Greetings"};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE("notes line " + std::to_string(i + 1));
    EXPECT_EQ(blocks[15 + i].text(), notes[i]);
    for (const TextRun& run : Runs(blocks[15 + i])) {
      EXPECT_TRUE(run.navy);
      EXPECT_FALSE(run.bold);
    }
  }
  EXPECT_EQ(panel.textCursor().position(), 0) << "the panel opens at its first line";
}

TEST(FillInfoPanel, FontSizeFollowsTheWindowWidth) {
  const struct {
    int width;
    int points;
    int pixels;  // sizes are fixed pixel heights at 96 dots per inch
  } rows[] = {{385, 8, 11}, {500, 8, 11}, {501, 10, 13}, {701, 12, 16}, {901, 14, 19}, {1101, 16, 21}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.width);
    Fixture f;
    ScopedChdir into(f.dir.path());
    QTextEdit panel;
    QFont design("Tahoma");
    design.setPixelSize(11);
    panel.setFont(design);
    Fill(panel, row.width);
    EXPECT_EQ(panel.document()->defaultFont().pixelSize(), row.pixels);
    // No run carries a size of its own, so the notes follow the panel's size as the report does.
    for (const QTextBlock& block : Blocks(panel))
      for (auto it = block.begin(); !it.atEnd(); ++it)
        EXPECT_FALSE(it.fragment().charFormat().hasProperty(QTextFormat::FontPointSize) ||
                     it.fragment().charFormat().hasProperty(QTextFormat::FontPixelSize));
  }
}

TEST(FillInfoPanel, WithoutAValidMovieOnlyTheNotesShow) {
  Fixture f;
  f.dir.Write("film.avi", std::string("RIFF\0\0\0\0WAVEfmt ", 16));
  f.dir.Write("new text document.txt", "caf\xE9");
  ScopedChdir into(f.dir.path());
  QTextEdit panel;
  Fill(panel, 385);
  EXPECT_EQ(panel.toPlainText(), QString::fromUtf16(u"café"));
}

TEST(FillInfoPanel, UnreadableNotesNameTheErrorAndTheReportIsInPlace) {
  Fixture f;
  f.dir.MakeDir("broken.nfo");
  ScopedChdir into(f.dir.path());
  QTextEdit panel;
  const media::InfoPanelContent content = Fill(panel, 385);
  EXPECT_NE(content.notesError.find("Is a directory"), std::string::npos) << content.notesError;
  EXPECT_EQ(Blocks(panel).size(), 15u);
  EXPECT_EQ(Blocks(panel)[0].text(), "Movie (Film)");
}

// The peak resident memory since Reset(), from the kernel's high-water mark (Linux).
class PeakMemory {
 public:
  static bool Reset() { return static_cast<bool>(std::ofstream("/proc/self/clear_refs") << "5"); }
  static std::int64_t Bytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
      if (line.rfind("VmHWM:", 0) == 0) return std::stoll(line.substr(6)) * 1024;
    return -1;
  }
};

std::string Repeat(std::string_view piece, std::size_t bytes) {
  std::string text;
  while (text.size() + piece.size() <= bytes) text += piece;
  return text;
}

// No notes file may keep Show Info busy: what the panel lays out and draws is bounded in lines and
// characters whatever the file holds, within 150 MB.
TEST(FillInfoPanel, HostileNotesAreBoundedInWhatIsShownAndInMemory) {
  const std::size_t mib = media::kMaxNotesBytes;
  const struct {
    const char* name;
    std::string bytes;
  } rows[] = {
      {"a mebibyte of LF", std::string(mib, '\n')},
      {"a mebibyte of CR", std::string(mib, '\r')},
      {"one 5 MB line without a blank", std::string(5 * mib, 'W')},
      {"combining characters", "a" + Repeat("\xCC\x81", mib)},
      {"combining characters in short lines", Repeat("a\xCC\x81\xCC\x82\xCC\x83\n", mib)},
      {"a UTF-8 character cut at the limit", Repeat("\xE2\x95\x94", mib + 1)},
      {"a 437 file of box drawing", Repeat("\xC9\xCD\xBB\xBA", mib)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Fixture f;
    f.dir.Write("release.nfo", row.bytes);
    ScopedChdir into(f.dir.path());
    QTextEdit panel;
    panel.resize(240, 350);
    const bool measured = PeakMemory::Reset();
    const std::int64_t before = PeakMemory::Bytes();
    const media::InfoPanelContent content = Fill(panel, 385);
    const QImage drawn = panel.grab().toImage();  // layout and paint, as showing it does
    // The report's lines, the notes' lines and the cut line; a character per byte at the most.
    EXPECT_LE(static_cast<std::size_t>(panel.document()->blockCount()), 20 + media::kMaxNotesLines + 1);
    EXPECT_LE(static_cast<std::size_t>(panel.document()->characterCount()),
              2048 + media::kMaxNotesShownBytes + media::kMaxNotesLines);
    if (measured) {
      EXPECT_LT(PeakMemory::Bytes() - before, std::int64_t{150} << 20);
    }
    EXPECT_FALSE(drawn.isNull());
    EXPECT_TRUE(content.notes.cut);
    EXPECT_EQ(Blocks(panel).back().text(), QLatin1String(media::kNotesCutLine));
    EXPECT_FALSE(panel.document()->isUndoRedoEnabled());
  }
}

// The video code is the one report text copied from the file: bytes that are not text must not
// reach the panel as NUL characters or broken UTF-8.
TEST(FillInfoPanel, VideoCodeBytesShowAsText) {
  const struct {
    std::string code;
    const char16_t* shown;
  } rows[] = {
      {std::string(4, '\0'), u"     Codec: ()"},
      {"dx\xE9" "5", u"     Codec: (dxé5)"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.code);
    TempDir dir;
    testsupport::AviMovie movie;
    movie.handler = row.code;
    dir.Write("film.avi", testsupport::AviBytes(movie));
    ScopedChdir into(dir.path());
    QTextEdit panel;
    Fill(panel, 385);
    ASSERT_GE(Blocks(panel).size(), 5u);
    EXPECT_EQ(Blocks(panel)[4].text(), QString::fromUtf16(row.shown));
  }
}

}  // namespace
