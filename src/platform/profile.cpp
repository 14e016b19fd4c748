#include "platform/profile.h"

#include <optional>
#include <vector>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/text.h"

namespace platform {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

using Line = LineSpan;

std::vector<Line> SplitLines(std::string_view content) {
  std::vector<Line> lines;
  for (std::size_t at = 0; at < content.size(); at = lines.back().next) lines.push_back(LineAt(content, at));
  return lines;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// "[Name]" after optional blanks: the name between the brackets, as written.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = TrimBlanks(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return line.substr(1, close - 1);
}

struct KeyLine {
  std::string_view name;
  std::size_t valueBegin = 0;  // offsets within the line
  std::size_t valueEnd = 0;
};

// "key = value": blanks around the key and around '=' and at the end of the line are not part
// of either. Comment lines (';') and lines without '=' hold no key.
std::optional<KeyLine> ParseKeyLine(std::string_view line) {
  std::size_t start = 0;
  while (start < line.size() && IsBlank(line[start])) ++start;
  if (start == line.size() || line[start] == ';' || line[start] == '[') return std::nullopt;
  const std::size_t equals = line.find('=', start);
  if (equals == std::string_view::npos) return std::nullopt;
  KeyLine key;
  key.name = TrimBlanks(line.substr(start, equals - start));
  key.valueBegin = equals + 1;
  while (key.valueBegin < line.size() && IsBlank(line[key.valueBegin])) ++key.valueBegin;
  key.valueEnd = line.size();
  while (key.valueEnd > key.valueBegin && IsBlank(line[key.valueEnd - 1])) --key.valueEnd;
  return key;
}

// Where a section and a key were found in the content.
struct Location {
  std::optional<std::size_t> header;   // index of the section's line
  std::optional<std::size_t> lastKey;  // index of its last key line
  std::optional<std::size_t> keyLine;  // index of the key's line
  KeyLine key;
};

// The first section of that name counts, and the first key of that name within it.
Location Find(std::string_view content, const std::vector<Line>& lines, std::string_view section,
              std::string_view keyName) {
  Location found;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view text = content.substr(lines[i].begin, lines[i].end - lines[i].begin);
    if (const auto name = SectionName(text)) {
      if (found.header) break;
      if (AsciiEqualNoCase(*name, section)) found.header = i;
      continue;
    }
    if (!found.header) continue;
    const auto key = ParseKeyLine(text);
    if (!key) continue;
    found.lastKey = i;
    if (!found.keyLine && AsciiEqualNoCase(key->name, keyName)) {
      found.keyLine = i;
      found.key = *key;
    }
  }
  return found;
}

// The break that most lines of the file already use; CRLF, the classic one, for a file without any.
std::string DominantLineBreak(std::string_view content, const std::vector<Line>& lines) {
  std::size_t crlf = 0, lf = 0, cr = 0;
  for (const Line& line : lines) {
    const std::string_view brk = content.substr(line.end, line.next - line.end);
    if (brk == "\r\n") ++crlf;
    else if (brk == "\n") ++lf;
    else if (brk == "\r") ++cr;
  }
  if (lf > crlf && lf >= cr) return "\n";
  if (cr > crlf && cr > lf) return "\r";
  return "\r\n";
}

// A line break or NUL inside a value would end the line early and let the rest of the value be
// read as further keys or sections, so a value ends at the first of them.
std::string_view SingleLine(std::string_view value) {
  const std::size_t cut = value.find_first_of(std::string_view("\r\n\0", 3));
  return cut == std::string_view::npos ? value : value.substr(0, cut);
}

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view WithoutBom(std::string_view content) {
  return content.substr(0, kUtf8Bom.size()) == kUtf8Bom ? content.substr(kUtf8Bom.size()) : content;
}

}  // namespace

std::string ProfileRead(std::string_view content, std::string_view section, std::string_view key) {
  content = WithoutBom(content);
  const std::vector<Line> lines = SplitLines(content);
  const Location found = Find(content, lines, section, key);
  if (!found.keyLine) return {};
  const Line& line = lines[*found.keyLine];
  std::string_view value = content.substr(line.begin + found.key.valueBegin,
                                          found.key.valueEnd - found.key.valueBegin);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return std::string(value.substr(0, kProfileValueMax));
}

std::string ProfileWrite(std::string_view content, std::string_view section, std::string_view key,
                         std::string_view value) {
  const std::string_view body = WithoutBom(content);
  if (body.size() != content.size())
    return std::string(kUtf8Bom) + ProfileWrite(body, section, key, value);
  value = SingleLine(value);
  const std::vector<Line> lines = SplitLines(content);
  const Location found = Find(content, lines, section, key);
  std::string out(content);
  if (found.keyLine) {
    const Line& line = lines[*found.keyLine];
    out.replace(line.begin + found.key.valueBegin, found.key.valueEnd - found.key.valueBegin, value);
    return out;
  }
  const std::string brk = DominantLineBreak(content, lines);
  const std::string keyText = std::string(key) + "=" + std::string(value);
  if (found.header) {
    // The new key goes right after the section's last key (or its header), so blank lines and
    // comments that lead into the next section stay where they are.
    const Line& after = lines[found.lastKey ? *found.lastKey : *found.header];
    if (after.next == after.end) {  // the last line of a file without a final break
      out.insert(after.next, brk + keyText);
    } else {
      // A lone CR just before an empty LF-ended line would pair up with its LF into one CRLF
      // break and swallow that line, so the new line takes the pair itself there.
      const bool pairsUp = brk == "\r" && after.next < out.size() && out[after.next] == '\n';
      out.insert(after.next, keyText + (pairsUp ? "\r\n" : brk));
    }
    return out;
  }
  if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += brk;
  out += "[" + std::string(section) + "]" + brk + keyText + brk;
  return out;
}

ProfileBytes ApplyProfileEdits(std::string_view content, const std::vector<ProfileEdit>& edits) {
  if (content.size() > kProfileFileMax) return {ProfileBytes::Kind::TooLarge, {}, {}};
  if (content.substr(0, 2) == "\xFF\xFE" || content.substr(0, 2) == "\xFE\xFF")
    return {ProfileBytes::Kind::Skipped, {}, "UTF-16"};
  std::string bytes(content);
  for (const ProfileEdit& edit : edits) bytes = ProfileWrite(bytes, edit.section, edit.key, edit.value);
  if (bytes == content) return {};
  return {ProfileBytes::Kind::Updated, std::move(bytes), {}};
}

ProfileUpdate WriteEditedProfile(const std::string& path, const std::optional<std::string>& content,
                                 const std::vector<ProfileEdit>& edits,
                                 const std::function<bool(const std::string& bytes)>& replace) {
  const ProfileUpdate failed{ProfileUpdate::Kind::Failed, {}, "Unable to write to " + path};
  if (!content) return failed;
  const ProfileBytes update = ApplyProfileEdits(*content, edits);
  switch (update.kind) {
    case ProfileBytes::Kind::Unchanged: return {};
    case ProfileBytes::Kind::Skipped: return {ProfileUpdate::Kind::Skipped, update.reason, {}};
    case ProfileBytes::Kind::TooLarge: return failed;
    case ProfileBytes::Kind::Updated: break;
  }
  if (!replace(update.bytes)) return failed;
  return {ProfileUpdate::Kind::Written, {}, {}};
}

void WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
  const ProfileUpdate update =
      UpdateProfileFile(path, {{std::string(section), std::string(key), std::string(value)}});
  if (update.kind == ProfileUpdate::Kind::Written || update.kind == ProfileUpdate::Kind::Unchanged) return;
  throw Error("Unable to write to " + path);
}

std::string ReadProfileString(const std::string& path, std::string_view section, std::string_view key) {
  const std::optional<std::string> onDisk = ResolveCase(path);
  if (!onDisk) return {};
  const FileRead file = ReadFileHead(*onDisk, kProfileFileMax + 1);
  if (!file.error.empty() || file.bytes.size() > kProfileFileMax) return {};
  return ProfileRead(file.bytes, section, key);
}

}  // namespace platform
