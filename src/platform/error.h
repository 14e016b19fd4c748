#pragma once
// An error that a platform service or decoder raises inside a handler. The window catches it at the
// handler's edge and shows its text in the application's error box; the rest of the handler is skipped.
#include <stdexcept>
#include <string>

namespace platform {

class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace platform
