#pragma once
// How the text panel looks: the content media builds (InfoPanelContent), drawn into the panel's
// rich-text box.
#include <QColor>

#include "media/info_panel.h"

class QTextEdit;

namespace app {

// The colour of everything the panel shows.
inline const QColor kPanelTextColour(0, 0, 128);

// Replaces the panel's text with `content` in one edit without undo history: one paragraph per
// line, navy, labels bold, the notes as plain text (never markup) and, when the notes were cut,
// kNotesCutLine last. The view starts at the top.
void DrawInfoPanel(QTextEdit& memoNFO, const media::InfoPanelContent& content);

}  // namespace app
