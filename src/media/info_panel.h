#pragma once
// Fills the launcher's text panel: the media report of the movie, then its release notes.
#include "app/launcher_state.h"

#include <QColor>

class QTextEdit;

namespace media {

// The colour of everything the panel shows.
inline const QColor kPanelTextColour(0, 0, 128);

// Sets state.InfoPanelFilled first, so that a failure later on never leads to a second fill. Then
// clears the panel, sizes its font for the window's outer width, writes the report of
// state.MovieFileName (nothing when the file no longer reads as an AVI file) and appends the
// release notes (FindNotesFile). One paragraph per line, navy, labels bold. The notes are plain
// text, never markup. Throws platform::Error when the notes file cannot be read; the report
// stays in place.
void FillInfoPanel(QTextEdit& memoNFO, app::LauncherState& state, int windowWidth,
                   char decimalSeparator);

}  // namespace media
