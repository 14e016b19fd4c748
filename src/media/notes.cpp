#include "media/notes.h"

#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/names.h"
#include "platform/text.h"

namespace media {
namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The read limit can cut a UTF-8 file inside a character; that fragment must not make the whole
// file count as another encoding, so it is dropped.
std::string_view WithoutCutCharacter(std::string_view text) {
  std::size_t start = text.size();
  for (std::size_t back = 0; back < 3 && start > 0; ++back) {
    --start;
    if (IsContinuationByte(text[start])) continue;
    const int length = platform::Utf8SequenceLength(static_cast<unsigned char>(text[start]));
    if (static_cast<std::size_t>(length) > text.size() - start) return text.substr(0, start);
    break;
  }
  return text;
}

// At most `limit` bytes of a line, never ending inside a UTF-8 character.
std::string_view Shortened(std::string_view line, std::size_t limit, bool utf8) {
  if (line.size() <= limit) return line;
  std::size_t end = limit;
  while (utf8 && end > 0 && IsContinuationByte(line[end])) --end;
  return line.substr(0, end);
}

// The lines within the shown limits; the last one may be shortened.
void KeepWithinLimits(std::string_view text, bool utf8, Notes& notes) {
  const std::vector<std::string_view> lines = platform::SplitTextLines(text, kMaxNotesLines + 1);
  std::size_t shown = 0;
  for (const std::string_view whole : lines) {
    if (notes.lines.size() == kMaxNotesLines || shown >= kMaxNotesShownBytes) {
      notes.cut = true;
      return;
    }
    const std::size_t limit = std::min(kMaxNotesLineBytes, kMaxNotesShownBytes - shown);
    const std::string_view line = Shortened(whole, limit, utf8);
    notes.cut |= line.size() < whole.size();
    notes.lines.emplace_back(line);
    shown += line.size();
  }
}

}  // namespace

std::string FindNotesFile(const platform::Listing& here) {
  std::string name = platform::FirstMatch(here, "*.nfo");
  if (!platform::CountsAsName(name)) name = platform::FirstMatch(here, kFallbackNotesFile);
  return name;
}

Notes ParseNotes(std::string_view bytes, std::string_view notesFile) {
  std::string_view text = bytes.substr(0, bytes.find('\0'));
  if (bytes.size() >= kMaxNotesBytes) text = WithoutCutCharacter(text.substr(0, kMaxNotesBytes));
  text = platform::WithoutUtf8Bom(text);

  // One decision for the whole file: a line of plain letters must not read differently from its
  // neighbours just because it happens to be valid UTF-8 on its own.
  Notes notes;
  const bool utf8 = platform::IsValidUtf8(text);
  const bool nfo = platform::AsciiLower(notesFile).ends_with(".nfo");
  notes.encoding = utf8 ? NotesEncoding::Utf8 : nfo ? NotesEncoding::Cp437 : NotesEncoding::Cp1252;
  KeepWithinLimits(text, utf8, notes);
  return notes;
}

QString NotesLineText(std::string_view line, NotesEncoding encoding) {
  if (encoding == NotesEncoding::Utf8)
    return QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
  return platform::DecodeCodePage(
      line, encoding == NotesEncoding::Cp437 ? platform::CodePage::Cp437 : platform::CodePage::Cp1252);
}

}  // namespace media
