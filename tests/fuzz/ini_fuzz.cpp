// The INI editor on arbitrary files, section and key names and values. The input is three fields
// (section, key, value, each a length byte and its bytes) followed by the file's content.
//  - A value that reads back as itself is written and read back; any other leaves the file as it
//    was (a line break, NUL, blanks at its ends, matching quotes around it, too long).
//  - Every line of the file stays as it was: the write changes the key's own line, or adds the key
//    line (and, for a new section, its header line) and nothing else.
//  - Writing the same value again changes nothing.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "platform/profile.h"
#include "platform/text.h"

namespace {

// The profile functions' blanks.
bool IsBlank(char c) { return (c >= '\t' && c <= '\r') || c == '\x1a' || c == ' '; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The lines' texts, without their breaks (CR, LF or CRLF).
std::vector<std::string_view> Lines(std::string_view content) {
  std::vector<std::string_view> lines;
  std::size_t begin = 0;
  for (std::size_t i = 0; i < content.size(); ++i) {
    if (content[i] != '\r' && content[i] != '\n') continue;
    lines.push_back(content.substr(begin, i - begin));
    if (content[i] == '\r' && i + 1 < content.size() && content[i + 1] == '\n') ++i;
    begin = i + 1;
  }
  if (begin < content.size()) lines.push_back(content.substr(begin));
  return lines;
}

// A name that the file format can hold as it is: no line break or NUL, no blanks around it.
bool IsPlainName(std::string_view name) {
  return name.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos &&
         TrimBlanks(name) == name;
}

// A section name may not hold the closing bracket; a key name may not hold '=' nor start like a
// comment or a section.
bool IsWellFormedSection(std::string_view name) {
  return IsPlainName(name) && name.find(']') == std::string_view::npos;
}
bool IsWellFormedKey(std::string_view name) {
  return IsPlainName(name) && name.find('=') == std::string_view::npos &&
         (name.empty() || (name.front() != ';' && name.front() != '['));
}

// "key = ..." or a bare "key" for this key name, as the reader recognises a key line: not a
// section header, the name up to '=' without blanks around it, up to its first NUL.
bool IsLineOfKey(std::string_view line, std::string_view key) {
  line = TrimBlanks(line);
  if (line.empty() || (line.front() == '[' && line.find(']') != std::string_view::npos)) return false;
  std::string_view name = TrimBlanks(line.substr(0, line.find('=')));
  name = name.substr(0, name.find('\0'));
  return platform::AsciiEqualNoCase(name, key);
}

void CheckOtherLinesKept(std::string_view before, std::string_view after, std::string_view section,
                         std::string_view key) {
  const std::vector<std::string_view> old = Lines(before);
  const std::vector<std::string_view> now = Lines(after);
  if (now.size() == old.size()) {
    // The key's line was rewritten in place; nothing else differs.
    for (std::size_t i = 0; i < old.size(); ++i) {
      if (old[i] == now[i]) continue;
      FUZZ_CHECK(IsLineOfKey(old[i], key) && IsLineOfKey(now[i], key));
      for (std::size_t j = i + 1; j < old.size(); ++j) FUZZ_CHECK(old[j] == now[j]);
      break;
    }
    return;
  }
  if (now.size() == old.size() + 1) {
    // One key line inserted into the existing section.
    std::size_t i = 0;
    while (i < old.size() && old[i] == now[i]) ++i;
    FUZZ_CHECK(IsLineOfKey(now[i], key));
    for (; i < old.size(); ++i) FUZZ_CHECK(old[i] == now[i + 1]);
    return;
  }
  // A new section at the end: its header and the key line.
  FUZZ_CHECK(now.size() == old.size() + 2);
  for (std::size_t i = 0; i < old.size(); ++i) FUZZ_CHECK(old[i] == now[i]);
  FUZZ_CHECK(now[old.size()] == "[" + std::string(section) + "]");
  FUZZ_CHECK(IsLineOfKey(now[old.size() + 1], key));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzsupport::Carver carver(data, size);
  const std::string section = carver.Field();
  const std::string key = carver.Field();
  const std::string value = carver.Field();
  const std::string content = carver.Rest();

  // Whatever the names, reading and writing must not fail.
  (void)platform::ProfileRead(content, section, key);
  const std::string written = platform::ProfileWrite(content, section, key, value);
  if (!platform::IsProfileValue(value)) {
    FUZZ_CHECK(written == content);
    return 0;
  }
  if (!IsWellFormedSection(section) || !IsWellFormedKey(key)) return 0;

  FUZZ_CHECK(platform::ProfileRead(written, section, key) == value);
  CheckOtherLinesKept(content, written, section, key);
  FUZZ_CHECK(platform::ProfileWrite(written, section, key, value) == written);
  return 0;
}
