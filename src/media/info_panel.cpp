#include "media/info_panel.h"

#include "platform/names.h"

namespace media {

InfoPanelContent BuildInfoPanel(const std::optional<AviFacts>& facts, const std::string& notesFile,
                                const platform::FileRead& notes, int windowWidth, char decimalSeparator) {
  InfoPanelContent content;
  content.fontPoints = ReportFontPoints(windowWidth);
  content.facts = facts;
  if (content.facts) content.report = BuildMediaReport(*content.facts, decimalSeparator);
  content.notesFile = notesFile;
  if (!platform::IsUsableEntry(content.notesFile)) return content;
  if (!notes.error.empty()) content.notesError = "Cannot read " + notesFile + ": " + notes.error;
  else content.notes = ParseNotes(notes.bytes, notesFile);
  return content;
}

}  // namespace media
