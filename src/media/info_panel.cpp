#include "media/info_panel.h"

#include "platform/codepage.h"
#include "platform/display.h"
#include "platform/error.h"
#include "platform/names.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace media {
namespace {

QTextCharFormat PanelFormat(bool bold) {
  QTextCharFormat format;
  format.setForeground(kPanelTextColour);
  format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
  return format;
}

// Report text is ASCII except the video code, four bytes copied from the file (its control bytes
// already dropped by the report).
QString ReportRunText(const std::string& text) { return platform::DecodeText(text, platform::CodePage::Cp1252); }

// Appends lines, one paragraph each, to a cleared document.
class PanelWriter {
 public:
  explicit PanelWriter(QTextDocument& document) : cursor_(&document) {}
  void StartLine() {
    if (!first_) cursor_.insertBlock(QTextBlockFormat(), PanelFormat(false));
    first_ = false;
  }
  void Write(const QString& text, bool bold) { cursor_.insertText(text, PanelFormat(bold)); }
  QTextCursor& Cursor() { return cursor_; }

 private:
  QTextCursor cursor_;
  bool first_ = true;
};

}  // namespace

InfoPanelContent BuildInfoPanel(const std::string& movieFileName, const std::string& notesFile,
                                int windowWidth, char decimalSeparator) {
  InfoPanelContent content;
  content.fontPoints = ReportFontPoints(windowWidth);
  content.facts = ReadAviFacts(movieFileName);
  if (content.facts) content.report = BuildMediaReport(*content.facts, decimalSeparator);
  content.notesFile = notesFile;
  if (!platform::IsUsableEntry(content.notesFile)) return content;
  try {
    content.notes = ReadNotes(content.notesFile);
  } catch (const platform::Error& error) {
    content.notesError = error.what();
  }
  return content;
}

void DrawInfoPanel(QTextEdit& memoNFO, const InfoPanelContent& content) {
  memoNFO.clear();
  QFont font = memoNFO.font();
  font.setPixelSize(platform::PointsToPixels(content.fontPoints));
  memoNFO.setFont(font);

  QTextDocument& document = *memoNFO.document();
  document.setUndoRedoEnabled(false);
  PanelWriter writer(document);
  writer.Cursor().beginEditBlock();
  for (const ReportLine& line : content.report) {
    writer.StartLine();
    for (const ReportRun& run : line.runs) writer.Write(ReportRunText(run.text), run.bold);
  }
  for (const std::string& line : content.notes.lines) {
    writer.StartLine();
    writer.Write(NotesLineText(line, content.notes.encoding), false);
  }
  if (content.notes.cut) {
    writer.StartLine();
    writer.Write(QString::fromLatin1(kNotesCutLine), false);
  }
  writer.Cursor().endEditBlock();
  // Readers start at the top, whatever the appending did to the view.
  memoNFO.moveCursor(QTextCursor::Start);
}

}  // namespace media
