#pragma once
// Directory listings written out in a test, in exactly the order a file system could return them.
#include <string>
#include <utility>
#include <vector>

#include "platform/files.h"

namespace testsupport {

inline platform::ListingEntry F(std::string name) { return {std::move(name), platform::EntryKind::File}; }
inline platform::ListingEntry D(std::string name) { return {std::move(name), platform::EntryKind::Directory}; }
inline platform::ListingEntry Other(std::string name) { return {std::move(name), platform::EntryKind::Other}; }

inline platform::Listing Listed(std::vector<platform::ListingEntry> entries) {
  platform::Listing listing;
  listing.code = entries.empty() ? platform::kNothingFound : 0;
  listing.entries = std::move(entries);
  return listing;
}

}  // namespace testsupport
