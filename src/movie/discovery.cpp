#include "movie/discovery.h"

#include <algorithm>

#include "movie/names.h"
#include "platform/files.h"
#include "platform/text.h"

namespace movie {

namespace {

constexpr std::array<std::string_view, 3> kSubtitleExtensions = {".txt", ".sub", ".srt"};

// The regular file called `name` in the current directory, letter case ignored, spelled as on
// disk; "" when there is none. The lookup compares whole names, so `*` and `?` match themselves.
std::string FileNamed(const std::string& name) {
  if (name.empty() || name.find('/') != std::string::npos) return {};
  const std::optional<std::string> found = platform::ResolveCase(name);
  if (!found || !platform::FileExists(*found)) return {};
  return *found;
}

// Step 2 of the wildcard search: the first "*.txt" entry when acceptable, else the last acceptable.
std::string PickTextFile() {
  const platform::DirSearch search = platform::SearchDirectory(".", "*.txt");
  if (search.names.empty()) return {};
  if (!IsIgnoredTextFile(search.names.front())) return search.names.front();
  std::string chosen;
  for (const std::string& name : search.names)
    if (!IsIgnoredTextFile(name)) chosen = name;
  return chosen;
}

}  // namespace

bool IsIgnoredTextFile(std::string_view name) {
  const std::string upper = platform::AsciiUpper(name);
  return std::find(IgnoredTextFiles.begin(), IgnoredTextFiles.end(), upper) != IgnoredTextFiles.end();
}

std::string FindMovieFile() { return platform::FindFirst("*.avi"); }

std::string FindSubtitleFile(const std::string& movieFileName) {
  const std::string base = BaseName(movieFileName);
  for (std::string_view extension : kSubtitleExtensions) {
    const std::string found = FileNamed(base + std::string(extension));
    if (IsName(found)) return found;
  }
  if (std::string found = PickTextFile(); IsName(found)) return found;
  if (std::string found = platform::FindFirst("*.sub"); IsName(found)) return found;
  if (std::string found = platform::FindFirst("*.srt"); IsName(found)) return found;
  return {};
}

}  // namespace movie
