#include "media/info_panel.h"

#include "media/avi.h"
#include "media/notes.h"
#include "media/report.h"
#include "platform/codepage.h"
#include "platform/display.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

#include <string>
#include <vector>

namespace media {
namespace {

QTextCharFormat PanelFormat(bool bold) {
  QTextCharFormat format;
  format.setForeground(kPanelTextColour);
  format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
  return format;
}

// Report text is ASCII except the video code, four bytes copied from the file; a code that could
// not be read is NUL bytes, which would show as nothing useful.
QString ReportRunText(const std::string& text) {
  QString shown = platform::DecodeText(text, platform::CodePage::Cp1252);
  shown.remove(QChar(u'\0'));
  return shown;
}

// Appends lines to the panel, one paragraph each, starting in the empty paragraph of a cleared
// document.
class PanelWriter {
 public:
  explicit PanelWriter(QTextEdit& panel) : panel_(panel), cursor_(panel.document()) {
    cursor_.movePosition(QTextCursor::End);
    first_ = panel.document()->isEmpty();
  }
  void StartLine() {
    if (!first_) cursor_.insertBlock(QTextBlockFormat(), PanelFormat(false));
    first_ = false;
  }
  void Write(const QString& text, bool bold) { cursor_.insertText(text, PanelFormat(bold)); }
  // Appending moves the panel's own cursor along when it stood at the end, which would scroll the
  // view down to the last line; readers start at the top.
  void ShowTop() { panel_.moveCursor(QTextCursor::Start); }

 private:
  QTextEdit& panel_;
  QTextCursor cursor_;
  bool first_ = true;
};

}  // namespace

void FillInfoPanel(QTextEdit& memoNFO, app::LauncherState& state, int windowWidth,
                   char decimalSeparator) {
  state.InfoPanelFilled = true;
  const std::string notesFile = FindNotesFile();
  memoNFO.clear();
  QFont font = memoNFO.font();
  font.setPixelSize(platform::PointsToPixels(ReportFontPoints(windowWidth)));
  memoNFO.setFont(font);

  PanelWriter writer(memoNFO);
  if (const std::optional<AviFacts> facts = ReadAviFacts(state.MovieFileName, state)) {
    for (const ReportLine& line : BuildMediaReport(*facts, decimalSeparator)) {
      writer.StartLine();
      for (const ReportRun& run : line.runs) writer.Write(ReportRunText(run.text), run.bold);
    }
  }
  writer.ShowTop();
  if (notesFile.size() <= 2) return;
  for (const QString& line : ReadNotesLines(notesFile)) {
    writer.StartLine();
    writer.Write(line, false);
  }
  writer.ShowTop();
}

}  // namespace media
