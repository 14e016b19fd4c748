#include "media/info_panel.h"

#include "platform/error.h"
#include "platform/names.h"

namespace media {

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

}  // namespace media
