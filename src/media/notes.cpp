#include "media/notes.h"

#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/text.h"

#include <string_view>

namespace media {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

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

}  // namespace

std::string FindNotesFile() {
  std::string name = platform::FindFirst("*.nfo");
  if (name.size() < 2) name = platform::FindFirst(kFallbackNotesFile);
  return name;
}

std::vector<QString> ReadNotesLines(const std::string& notesFile) {
  const platform::FileRead read = platform::ReadFileHead(notesFile, kMaxNotesBytes);
  if (!read.error.empty()) throw platform::Error("Cannot read " + notesFile + ": " + read.error);

  std::string_view text = read.bytes;
  text = text.substr(0, text.find('\0'));
  if (read.bytes.size() == kMaxNotesBytes) text = WithoutCutCharacter(text);
  if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) text.remove_prefix(kUtf8Bom.size());

  // One decision for the whole file: a line of plain letters must not read differently from its
  // neighbours just because it happens to be valid UTF-8 on its own.
  const bool utf8 = platform::IsValidUtf8(text);
  const bool nfo = platform::AsciiLower(notesFile).ends_with(".nfo");
  const platform::CodePage page = nfo ? platform::CodePage::Cp437 : platform::CodePage::Cp1252;

  std::vector<QString> lines;
  for (const std::string& line : platform::SplitTextLines(text))
    lines.push_back(utf8 ? QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()))
                         : platform::DecodeCodePage(line, page));
  return lines;
}

}  // namespace media
