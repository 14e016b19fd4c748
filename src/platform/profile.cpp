#include "platform/profile.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"

namespace platform {

namespace {

// The profile functions' blanks: tab, line feed, vertical tab, form feed, carriage return, the
// DOS end-of-file mark ^Z and the space. Bytes of other code pages' spaces (0xA0) are not among
// them, as they are parts of UTF-8 letters.
bool IsBlank(char c) { return (c >= '\t' && c <= '\r') || c == '\x1a' || c == ' '; }

using Line = LineSpan;

std::vector<Line> SplitLines(std::string_view content) {
  std::vector<Line> lines;
  for (std::size_t at = 0; at < content.size(); at = lines.back().next) lines.push_back(LineAt(content, at));
  return lines;
}

// Offsets [begin, end) of `text` without blanks at either end.
struct Span {
  std::size_t begin = 0, end = 0;
  std::string_view Of(std::string_view text) const { return text.substr(begin, end - begin); }
};

Span TrimmedSpan(std::string_view text, Span span) {
  const std::string_view trimmed = TrimIf(span.Of(text), IsBlank);
  const auto begin = static_cast<std::size_t>(trimmed.data() - text.data());
  return {begin, begin + trimmed.size()};
}

// A name or value is compared and returned as a C string, so a NUL ends it.
std::string_view UpToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

// A line that starts with '[' and holds a ']' opens a section; its name runs to the last ']' of
// the line, blanks around it dropped.
std::optional<std::string_view> SectionName(std::string_view line) {
  const Span trimmed = TrimmedSpan(line, {0, line.size()});
  if (trimmed.begin == trimmed.end || line[trimmed.begin] != '[') return std::nullopt;
  const std::size_t close = line.rfind(']', trimmed.end - 1);
  if (close == std::string_view::npos || close <= trimmed.begin) return std::nullopt;
  return UpToNul(TrimmedSpan(line, {trimmed.begin + 1, close}).Of(line));
}

struct KeyLine {
  std::string_view name;
  Span nameSpan;                // offsets within the line
  std::optional<Span> value;    // none on a line without '='
};

// Every other line that is not empty is a key: the name up to the first '=' and the value after
// it, blanks around both dropped; a line without '=' is a key whose value is empty. A comment
// (';') is a key too, one whose name begins with ';' and so never matches.
std::optional<KeyLine> ParseKeyLine(std::string_view line) {
  const Span trimmed = TrimmedSpan(line, {0, line.size()});
  if (trimmed.begin == trimmed.end) return std::nullopt;
  KeyLine key;
  const std::size_t equals = trimmed.Of(line).find('=');
  if (equals == std::string_view::npos) {
    key.nameSpan = trimmed;
  } else {
    key.nameSpan = TrimmedSpan(line, {trimmed.begin, trimmed.begin + equals});
    key.value = TrimmedSpan(line, {trimmed.begin + equals + 1, trimmed.end});
  }
  key.name = UpToNul(key.nameSpan.Of(line));
  return key;
}

bool IsComment(const KeyLine& key) { return !key.name.empty() && key.name.front() == ';'; }

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
    if (!key || IsComment(*key)) continue;
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

// A value wrapped in a pair of matching quotes reads back without them.
bool IsQuotePair(std::string_view value) {
  return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
}

}  // namespace

bool IsProfileValue(std::string_view value) {
  if (value.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) return false;
  if (!value.empty() && (IsBlank(value.front()) || IsBlank(value.back()))) return false;
  return !IsQuotePair(value) && value.size() <= kProfileValueMax;
}

std::string ProfileRead(std::string_view content, std::string_view section, std::string_view key) {
  content = WithoutUtf8Bom(content);
  const std::vector<Line> lines = SplitLines(content);
  const Location found = Find(content, lines, section, key);
  if (!found.keyLine || !found.key.value) return {};
  const Line& line = lines[*found.keyLine];
  std::string_view value = UpToNul(found.key.value->Of(content.substr(line.begin)));
  if (IsQuotePair(value)) value = value.substr(1, value.size() - 2);
  return std::string(value.substr(0, kProfileValueMax));
}

std::string ProfileWrite(std::string_view content, std::string_view section, std::string_view key,
                         std::string_view value) {
  const std::string_view body = WithoutUtf8Bom(content);
  if (body.size() != content.size())
    return std::string(kUtf8ByteOrderMark) + ProfileWrite(body, section, key, value);
  if (!IsProfileValue(value)) return std::string(content);
  const std::vector<Line> lines = SplitLines(content);
  const Location found = Find(content, lines, section, key);
  std::string out(content);
  if (found.keyLine) {
    const std::size_t begin = lines[*found.keyLine].begin;
    if (const auto& old = found.key.value)
      out.replace(begin + old->begin, old->end - old->begin, value);
    else  // a key line without '=': the entry the reader finds, so it takes the value
      out.insert(begin + found.key.nameSpan.end, "=" + std::string(value));
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

namespace {

bool AllProfileValues(const std::vector<ProfileEdit>& edits) {
  return std::all_of(edits.begin(), edits.end(), [](const ProfileEdit& edit) { return IsProfileValue(edit.value); });
}

}  // namespace

ProfileUpdate ApplyProfileEdits(std::string_view content, const std::vector<ProfileEdit>& edits) {
  using Kind = ProfileUpdate::Kind;
  // Beyond that size the launcher itself would not read the file, and neither its next start nor
  // this run's player start would find what it holds; as it is, it still works.
  const ProfileUpdate tooLarge{Kind::Skipped, "too large", {}};
  if (content.size() > kProfileFileMax) return tooLarge;
  if (content.substr(0, 2) == "\xFF\xFE" || content.substr(0, 2) == "\xFE\xFF") return {Kind::Skipped, "UTF-16", {}};
  if (!AllProfileValues(edits)) return {Kind::Skipped, std::string(kUnwritableValue), {}};
  std::string bytes(content);
  for (const ProfileEdit& edit : edits) bytes = ProfileWrite(bytes, edit.section, edit.key, edit.value);
  if (bytes == content) return {Kind::Unchanged, {}, {}};
  if (bytes.size() > kProfileFileMax) return tooLarge;
  return {Kind::Written, {}, std::move(bytes)};
}

std::string TemporaryPrefix(std::string_view name) { return "." + std::string(name) + ".autorun-"; }

bool IsTemporaryOf(std::string_view name, std::string_view entry) {
  const std::string prefix = TemporaryPrefix(name);
  if (entry.size() != prefix.size() + kTemporarySuffixLength || entry.substr(0, prefix.size()) != prefix) return false;
  return entry.substr(prefix.size()).find_first_not_of(kTemporarySuffixLetters) == std::string_view::npos;
}

namespace {

std::int64_t RoundUp(std::int64_t bytes, std::int64_t block) {
  return block > 1 ? (bytes + block - 1) / block * block : bytes;
}

// A temporary file needs room for the whole new content; a rewrite in place only for its growth.
bool Fits(const ProfileFacts& facts, std::size_t size) {
  if (facts.room < 0) return true;
  const std::int64_t needed = RoundUp(static_cast<std::int64_t>(size), facts.block);
  return needed - (facts.inPlace ? facts.allocated : 0) <= facts.room;
}

}  // namespace

ProfileUpdate PlanProfileUpdate(const std::string& path, const ProfileFacts& facts,
                                const std::vector<ProfileEdit>& edits) {
  using Kind = ProfileUpdate::Kind;
  if (!facts.writable) return {Kind::Skipped, facts.writable.error(), {}};
  if (edits.empty()) return {Kind::Unchanged, {}, {}};
  // A name that the file cannot hold is refused before the file's content counts.
  if (!AllProfileValues(edits)) return {Kind::Skipped, std::string(kUnwritableValue), {}};
  const ProfileUpdate failed{Kind::Failed, UnableToWrite(path), {}};
  if (!facts.content || facts.content->size() > kProfileFileMax) return failed;
  ProfileUpdate update = ApplyProfileEdits(*facts.content, edits);
  if (update.kind == Kind::Written && !Fits(facts, update.bytes.size())) return failed;
  return update;
}

std::optional<std::string> ReadProfileContent(const std::string& path) {
  const std::optional<std::string> onDisk = ResolveCase(path);
  if (!onDisk) return std::nullopt;
  Result<std::string> file = ReadFileHead(*onDisk, kProfileFileMax + 1);
  if (!file || file->size() > kProfileFileMax) return std::nullopt;
  return std::move(*file);
}

}  // namespace platform
