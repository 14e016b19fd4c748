#include "platform/environment_posix.h"

#include <sys/stat.h>

#include <cstdlib>
#include <string_view>

#include "platform/text.h"

namespace platform {

std::optional<std::string> NonEmptyVariable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::string(value);
}

std::string AbsolutePathVariable(const char* name) {
  const char* value = std::getenv(name);
  return value && value[0] == '/' ? std::string(value) : std::string();
}

std::vector<std::string> AbsolutePathsVariable(const char* name, std::vector<std::string> fallback) {
  const char* value = std::getenv(name);
  std::vector<std::string> paths;
  for (const std::string_view path : NonEmptyPieces(value ? value : "", ':'))
    if (path.front() == '/') paths.emplace_back(path);
  return paths.empty() ? fallback : paths;
}

bool IsKind(const std::string& path, mode_t kind) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && (info.st_mode & S_IFMT) == kind;
}

}  // namespace platform
