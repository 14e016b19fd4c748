#pragma once
// The launcher's text panel: its content as a plain value (the media report of the movie, then
// its release notes), and the drawer that puts such a value into the panel's rich-text box.
#include "media/avi.h"
#include "media/notes.h"
#include "media/report.h"

#include <QColor>

#include <optional>
#include <string>
#include <vector>

class QTextEdit;

namespace media {

// The colour of everything the panel shows.
inline const QColor kPanelTextColour(0, 0, 128);

struct InfoPanelContent {
  int fontPoints = 8;                 // for the whole panel, from the window's outer width
  std::optional<AviFacts> facts;      // nothing when the movie no longer reads as an AVI file
  std::vector<ReportLine> report;     // bold runs are labels; empty without facts
  std::string notesFile;              // "" when there are none
  Notes notes;
  std::string notesError;             // the error box's text when the notes could not be read
};

// Everything the panel will show: the report of `movieFileName`, then the notes of `notesFile`
// (FindNotesFile; "" for none). A notes file that cannot be read leaves the report in place and
// names the error.
InfoPanelContent BuildInfoPanel(const std::string& movieFileName, const std::string& notesFile,
                                int windowWidth, char decimalSeparator);

// Replaces the panel's text with `content` in one edit without undo history: one paragraph per
// line, navy, labels bold, the notes as plain text (never markup) and, when the notes were cut,
// kNotesCutLine last. The view starts at the top.
void DrawInfoPanel(QTextEdit& memoNFO, const InfoPanelContent& content);

}  // namespace media
