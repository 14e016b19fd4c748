#pragma once
// A whole update of one INI file as the start-up carries it out, for tests of the platform's INI
// files: open it, plan the edits with what it told, remove the stale temporary files its directory
// lists, and apply; Failed also when the apply fails.
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/profile.h"

namespace testsupport {

inline platform::ProfileUpdate UpdateProfileFile(const std::string& path, const std::vector<platform::ProfileEdit>& edits) {
  platform::ProfileFile file = platform::ProfileFile::Open(path);
  platform::ProfileUpdate update = platform::PlanProfileUpdate(path, file.facts(), edits);
  // Temporary files are named after the file as it is spelled on disk.
  const std::string onDisk = platform::ResolveCase(path).value_or(path);
  const std::size_t separator = onDisk.find_last_of(std::string(1, platform::PathSeparator()) + "/");
  const std::string directory = separator == std::string::npos ? "" : onDisk.substr(0, separator + 1);
  const std::string name = onDisk.substr(directory.size());
  std::vector<std::string> stale;
  for (const platform::ListingEntry& entry : platform::ListDirectory(directory).entries)
    if (platform::IsTemporaryOf(name, entry.name)) stale.push_back(entry.name);
  if (!file.Apply(update, stale))
    return {platform::ProfileUpdate::Kind::Failed, platform::UnableToWrite(path), {}};
  return update;
}

}  // namespace testsupport
