#pragma once
// The Exec lines of .desktop files: split as GLib's shell parser splits them, with their field codes
// expanded. For the *_linux backends and their tests only.
#include <optional>
#include <string>
#include <vector>

namespace platform {

// What the field codes stand for: the file's path and URL (%f %u), the icon (%i), the name (%c) and
// the .desktop file (%k); an empty one gives nothing.
struct FieldValues {
  std::string path, url, icon, name, file;
};

// The words of `exec` with the field codes expanded; `fileGiven` is set when a file code stood in
// it. A code inside a quoted argument is written for a shell to read back as one word. nullopt for
// an unterminated quote.
std::optional<std::vector<std::string>> SplitExec(const std::string& exec, const FieldValues& values, bool& fileGiven);

// `text` as one word of the POSIX shell: in single quotes, a single quote written as '\''.
std::string ShellQuote(const std::string& text);

}  // namespace platform
