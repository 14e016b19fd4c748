// Release notes on arbitrary bytes: line splitting, the UTF-8 test and the code-page decoding.
//  - The UTF-8 test agrees with an independent decoder (no overlong forms, no surrogates, nothing
//    past U+10FFFF), and valid text survives a trip through QString unchanged.
//  - A code page gives one character per byte, ASCII as it is.
//  - Splitting keeps every byte before the first NUL except the line breaks.
//  - The notes file reader, given the same bytes as an ".nfo" file, shows the same lines.
#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "media/notes.h"
#include "platform/codepage.h"
#include "platform/text.h"

namespace {

// Strict UTF-8 by code point value rather than by byte ranges.
bool ReferenceUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    int length = 0;
    char32_t point = 0;
    if (lead < 0x80) { length = 1; point = lead; }
    else if ((lead & 0xE0) == 0xC0) { length = 2; point = lead & 0x1F; }
    else if ((lead & 0xF0) == 0xE0) { length = 3; point = lead & 0x0F; }
    else if ((lead & 0xF8) == 0xF0) { length = 4; point = lead & 0x07; }
    else return false;
    if (bytes.size() - i < static_cast<std::size_t>(length)) return false;
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      point = (point << 6) | (next & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (point < kSmallest[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
      return false;
    i += static_cast<std::size_t>(length);
  }
  return true;
}

void CheckCodePage(std::string_view bytes, platform::CodePage page) {
  const QString text = platform::DecodeCodePage(bytes, page);
  FUZZ_CHECK(text.size() == static_cast<qsizetype>(bytes.size()));
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte < 0x80) FUZZ_CHECK(text[static_cast<qsizetype>(i)].unicode() == byte);
    else FUZZ_CHECK(!text[static_cast<qsizetype>(i)].isSurrogate());
  }
  const QString decoded = platform::DecodeText(bytes, page);
  if (!platform::IsValidUtf8(bytes)) FUZZ_CHECK(decoded == text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const bool valid = platform::IsValidUtf8(bytes);
  FUZZ_CHECK(valid == ReferenceUtf8(bytes));
  if (valid) {
    const QString text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    const QByteArray back = text.toUtf8();
    // Qt drops a byte-order mark at the start; nothing else may change.
    std::string_view expected = bytes;
    if (expected.starts_with("\xEF\xBB\xBF")) expected.remove_prefix(3);
    FUZZ_CHECK(std::string_view(back.constData(), static_cast<std::size_t>(back.size())) == expected);
    FUZZ_CHECK(platform::DecodeText(bytes, platform::CodePage::Cp437) == text);
  }
  for (platform::CodePage page :
       {platform::CodePage::Cp437, platform::CodePage::Cp1252, platform::CodePage::Cp1254})
    CheckCodePage(bytes, page);

  const std::vector<std::string_view> lines = platform::SplitTextLines(bytes);
  const std::string_view text = bytes.substr(0, bytes.find('\0'));
  std::string kept;
  for (char c : text)
    if (c != '\r' && c != '\n') kept += c;
  std::string joined;
  std::size_t breaks = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) ++breaks;
  }
  for (const std::string_view line : lines) {
    FUZZ_CHECK(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos);
    joined += line;
  }
  FUZZ_CHECK(joined == kept);
  const bool tail = !text.empty() && text.back() != '\r' && text.back() != '\n';
  FUZZ_CHECK(lines.size() == breaks + (tail ? 1 : 0));

  // The notes decide the encoding once for the whole file (a UTF-8 mark at the start aside) and
  // keep within their limits: every line they give is the start of the file's line, and only a
  // cut file gives fewer or shorter lines.
  const media::Notes notes = media::ParseNotes(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.nfo");
  std::string_view body = text;
  if (body.starts_with("\xEF\xBB\xBF")) body.remove_prefix(3);
  const std::vector<std::string_view> bodyLines = platform::SplitTextLines(body);
  FUZZ_CHECK(notes.lines.size() <= media::kMaxNotesLines);
  FUZZ_CHECK(notes.cut || notes.lines.size() == bodyLines.size());
  FUZZ_CHECK(notes.lines.size() <= bodyLines.size());
  const bool utf8 = platform::IsValidUtf8(body);
  FUZZ_CHECK((notes.encoding == media::NotesEncoding::Utf8) == utf8);
  for (std::size_t i = 0; i < notes.lines.size(); ++i) {
    const std::string& line = notes.lines[i];
    FUZZ_CHECK(line.size() <= media::kMaxNotesLineBytes);
    FUZZ_CHECK(bodyLines[i].starts_with(line));
    FUZZ_CHECK(notes.cut || line == bodyLines[i]);
    if (utf8) FUZZ_CHECK(platform::IsValidUtf8(line));
    const QString shown = media::NotesLineText(line, notes.encoding);
    FUZZ_CHECK(shown == (utf8 ? QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()))
                              : platform::DecodeCodePage(line, platform::CodePage::Cp437)));
  }
  return 0;
}
