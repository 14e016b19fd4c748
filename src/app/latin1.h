#pragma once
// The program's own texts (control names, captions, keys), which are ASCII, as Qt takes them.
#include <QString>
#include <string_view>

namespace app {

inline QString Latin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace app
