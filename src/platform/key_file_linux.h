#pragma once
// The freedesktop key files (.desktop files, mimeapps.list, defaults.list, mimeinfo.cache), read as
// GLib reads them. For the *_linux backends and their tests only.
#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

// Key files, mimeinfo.cache and the aliases are a few hundred kilobytes at most; a larger one is
// not what it claims to be.
inline constexpr std::size_t kKeyFileMax = 1 << 20;

using KeyFileEntries = std::vector<std::pair<std::string, std::string>>;  // in the file's order

struct KeyFile {
  std::string firstGroup;
  std::map<std::string, KeyFileEntries> groups;

  const KeyFileEntries& Group(const std::string& name) const {
    static const KeyFileEntries kNone;
    const auto group = groups.find(name);
    return group == groups.end() ? kNone : group->second;
  }
  std::string Value(const std::string& group, const std::string& key) const {
    for (const auto& [name, value] : Group(group))
      if (name == key) return value;
    return {};
  }
};

// The groups of a key file, none for a file that cannot be read; for a key given twice in a group
// the first value counts.
KeyFile ReadKeyFile(const std::string& path);

// The items of a list value ("a;b;"), each trimmed, empty ones left out.
std::vector<std::string> SplitList(std::string_view value);

// A boolean value: "true" or "1".
bool IsTrue(const std::string& value);

// The string escapes of a key file's values undone; the quoting rules of Exec come after these.
std::string UnescapeValue(std::string_view value);

}  // namespace platform
