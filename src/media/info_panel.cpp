#include "media/info_panel.h"

#include "platform/names.h"

namespace media {

InfoPanelContent BuildInfoPanel(const std::optional<AviFacts>& facts, const std::string& notesFile,
                                const platform::Result<std::string>& notes, int windowWidth,
                                char decimalSeparator) {
  InfoPanelContent content;
  content.fontPoints = ReportFontPoints(windowWidth);
  content.facts = facts;
  if (content.facts) content.report = BuildMediaReport(*content.facts, decimalSeparator);
  content.notesFile = notesFile;
  if (!platform::IsTrustedEntry(content.notesFile)) return content;
  if (!notes) content.notesError = "Cannot read " + notesFile + ": " + notes.error();
  else content.notes = ParseNotes(*notes, notesFile);
  return content;
}

}  // namespace media
