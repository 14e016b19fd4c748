#include "platform/key_file_linux.h"

#include <algorithm>

#include "platform/files.h"
#include "platform/text.h"

namespace platform {

KeyFile ReadKeyFile(const std::string& path) {
  KeyFile file;
  const Result<std::string> read = ReadFileHead(path, kKeyFileMax);
  if (!read) return file;
  KeyFileEntries* group = nullptr;
  for (const std::string_view raw : SplitTextLines(*read)) {
    const std::string_view line = TrimBlanks(raw);
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[' && line.back() == ']') {
      const std::string name(line.substr(1, line.size() - 2));
      if (file.groups.empty()) file.firstGroup = name;
      group = &file.groups[name];
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || !group) continue;
    const std::string key(TrimBlanks(line.substr(0, equals)));
    if (std::none_of(group->begin(), group->end(), [&](const auto& entry) { return entry.first == key; }))
      group->emplace_back(key, TrimBlanks(line.substr(equals + 1)));
  }
  return file;
}

std::vector<std::string> SplitList(std::string_view value) {
  std::vector<std::string> items;
  for (const std::string_view piece : NonEmptyPieces(value, ';'))
    if (const std::string_view item = TrimBlanks(piece); !item.empty()) items.emplace_back(item);
  return items;
}

bool IsTrue(const std::string& value) { return value == "true" || value == "1"; }

std::string UnescapeValue(std::string_view value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      out += value[i];
      continue;
    }
    switch (const char next = value[++i]) {
      case 's': out += ' '; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case 'r': out += '\r'; break;
      case '\\': out += '\\'; break;
      default:
        out += '\\';
        out += next;
        break;
    }
  }
  return out;
}

}  // namespace platform
