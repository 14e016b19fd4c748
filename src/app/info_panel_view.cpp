#include "app/info_panel_view.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "platform/codepage.h"
#include "platform/display.h"

namespace app {
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

void DrawInfoPanel(QTextEdit& memoNFO, const media::InfoPanelContent& content) {
  memoNFO.clear();
  QFont font = memoNFO.font();
  font.setPixelSize(platform::PointsToPixels(content.fontPoints));
  memoNFO.setFont(font);

  QTextDocument& document = *memoNFO.document();
  document.setUndoRedoEnabled(false);
  PanelWriter writer(document);
  writer.Cursor().beginEditBlock();
  for (const media::ReportLine& line : content.report) {
    writer.StartLine();
    for (const media::ReportRun& run : line.runs) writer.Write(ReportRunText(run.text), run.bold);
  }
  for (const std::string& line : content.notes.lines) {
    writer.StartLine();
    writer.Write(media::NotesLineText(line, content.notes.encoding), false);
  }
  if (content.notes.cut) {
    writer.StartLine();
    writer.Write(QString::fromLatin1(media::kNotesCutLine), false);
  }
  writer.Cursor().endEditBlock();
  // Readers start at the top, whatever the appending did to the view.
  memoNFO.moveCursor(QTextCursor::Start);
}

}  // namespace app
