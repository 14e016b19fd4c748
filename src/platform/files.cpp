// The portable half of the file services: matching and the pure questions over a listing.
#include "platform/files.h"

#include "platform/file_reader.h"

#include "platform/text.h"

namespace platform {

// Greedy matching that remembers only the last `*`: on a mismatch the star absorbs one more
// character and the rest is retried from there. Earlier stars never need revisiting, so the
// work is bounded by pattern length times name length even for patterns like "*a*a*a*b".
bool WildcardMatch(std::string_view pattern, std::string_view name) {
  std::size_t p = 0, n = 0;
  std::size_t starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() &&
               (pattern[p] == '?' || AsciiLowerChar(pattern[p]) == AsciiLowerChar(name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool MatchesAny(NamePatterns patterns, std::string_view name) {
  for (const std::string_view pattern : patterns)
    if (WildcardMatch(pattern, name)) return true;
  return false;
}

std::vector<std::string> MatchingNames(const Listing& listing, std::string_view pattern) {
  std::vector<std::string> names;
  for (const ListingEntry& entry : listing.entries)
    if (WildcardMatch(pattern, entry.name)) names.push_back(entry.name);
  return names;
}

std::string FirstMatch(const Listing& listing, std::string_view pattern) {
  for (const ListingEntry& entry : listing.entries)
    if (WildcardMatch(pattern, entry.name)) return entry.name;
  return {};
}

const ListingEntry* LookupEntry(const Listing& listing, std::string_view name) {
  const ListingEntry* other = nullptr;
  for (const ListingEntry& entry : listing.entries) {
    if (entry.name == name) return &entry;
    if (!other && AsciiEqualNoCase(entry.name, name)) other = &entry;
  }
  return other;
}

std::string RegularFileName(const Listing& listing, std::string_view name) {
  const ListingEntry* entry = LookupEntry(listing, name);
  return entry && entry->kind == EntryKind::File ? entry->name : std::string();
}

bool IsRegularFile(const Listing& listing, std::string_view name) { return !RegularFileName(listing, name).empty(); }

// Windows takes '/' as well as '\\', so a directory ending in either already has its separator.
std::string WithTrailingSeparator(std::string directory) {
  if (directory.empty() || (directory.back() != '/' && directory.back() != PathSeparator()))
    directory += PathSeparator();
  return directory;
}

std::string CannotOpenMessage(const std::string& path, const std::string& reason) {
  return "Cannot open " + path + ": " + reason;
}

std::optional<std::string> ReadAt(const std::string& path, std::int64_t offset, std::size_t count) {
  const FileReader file(path);
  if (!file.ok()) return std::nullopt;
  return file.ReadAt(offset, count);
}

std::optional<std::int64_t> FileSize(const std::string& path) {
  const FileReader file(path);
  if (!file.ok()) return std::nullopt;
  return file.size();
}

}  // namespace platform
