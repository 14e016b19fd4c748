#include "movie/discovery.h"

#include <algorithm>

#include "platform/names.h"
#include "platform/text.h"

namespace movie {

namespace {

constexpr std::array<std::string_view, 3> kSubtitleExtensions = {".txt", ".sub", ".srt"};

// Step 2 of the wildcard search: the first "*.txt" entry when acceptable, else the last acceptable.
std::string PickTextFile(const platform::Listing& here) {
  const std::vector<std::string> names = platform::MatchingNames(here, "*.txt");
  if (names.empty()) return {};
  if (!IsIgnoredTextFile(names.front())) return names.front();
  std::string chosen;
  for (const std::string& name : names)
    if (!IsIgnoredTextFile(name)) chosen = name;
  return chosen;
}

}  // namespace

bool IsIgnoredTextFile(std::string_view name) {
  const std::string upper = platform::AsciiUpper(name);
  return std::find(IgnoredTextFiles.begin(), IgnoredTextFiles.end(), upper) != IgnoredTextFiles.end();
}

std::string FindMovieFile(const platform::Listing& here) { return platform::FirstMatch(here, "*.avi"); }

std::string FindSubtitleFile(const platform::Listing& here, const std::string& movieFileName) {
  const std::string base = platform::BaseName(movieFileName);
  for (std::string_view extension : kSubtitleExtensions) {
    const std::string found = platform::RegularFileName(here, base + std::string(extension));
    if (platform::CountsAsName(found)) return found;
  }
  if (std::string found = PickTextFile(here); platform::CountsAsName(found)) return found;
  if (std::string found = platform::FirstMatch(here, "*.sub"); platform::CountsAsName(found)) return found;
  if (std::string found = platform::FirstMatch(here, "*.srt"); platform::CountsAsName(found)) return found;
  return {};
}

bool PlayerPresent(const platform::Listing& here, PlayerKind kind) {
  return platform::IsRegularFile(here, PlayerOf(kind).executable);
}

}  // namespace movie
