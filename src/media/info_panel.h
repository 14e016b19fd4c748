#pragma once
// The launcher's text panel as a plain value: the media report of the movie, then its release
// notes. The window draws it.
#include "media/avi.h"
#include "media/notes.h"
#include "media/report.h"
#include "platform/files.h"

#include <optional>
#include <string>
#include <vector>

namespace media {

struct InfoPanelContent {
  int fontPoints = 8;                 // for the whole panel, from the window's outer width
  std::optional<AviFacts> facts;      // nothing when the movie no longer reads as an AVI file
  std::vector<ReportLine> report;     // bold runs are labels; empty without facts
  std::string notesFile;              // "" when there are none
  Notes notes;
  std::string notesError;             // the error box's text when the notes could not be read
};

// Everything the panel will show: the report of the movie's `facts`, then the notes of `notesFile`
// (FindNotesFile; "" for none) as `notes` holds them (the file's first kMaxNotesBytes bytes, or
// the system's message when it could not be read, which leaves the report in place).
InfoPanelContent BuildInfoPanel(const std::optional<AviFacts>& facts, const std::string& notesFile,
                                const platform::Result<std::string>& notes, int windowWidth,
                                char decimalSeparator);

}  // namespace media
