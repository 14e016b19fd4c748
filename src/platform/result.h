#pragma once
// What a read or a decoder gives back: its value, or the message the user would see in the error
// box. Failures travel as values so that every caller decides, at the place it calls, what a
// failure means there; nothing unwinds through the handlers.
#include <optional>
#include <string>
#include <utility>

namespace platform {

// A failure of any Result, made from its message: `return platform::Failure{"text"};`.
struct Failure {
  std::string message;
};

template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : value_(std::move(value)) {}                  // NOLINT: a value is a success
  Result(Failure failure) : error_(std::move(failure.message)) {}  // NOLINT: and a Failure is not

  bool ok() const { return value_.has_value(); }
  explicit operator bool() const { return ok(); }

  // The failure's message; "" for a success.
  const std::string& error() const { return error_; }

  // Asking a failure for its value is a fault of the caller's, which std::bad_optional_access
  // reports rather than reading what is not there.
  T& value() & { return value_.value(); }
  const T& value() const& { return value_.value(); }
  T&& value() && { return std::move(value_).value(); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }
  T&& operator*() && { return std::move(*this).value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

 private:
  std::optional<T> value_;
  std::string error_;
};

// A step that gives nothing back: done (`return {};`), or the message why not.
template <>
class [[nodiscard]] Result<void> {
 public:
  Result() = default;
  Result(Failure failure) : error_(std::move(failure.message)), failed_(true) {}  // NOLINT: as above

  bool ok() const { return !failed_; }
  explicit operator bool() const { return ok(); }
  const std::string& error() const { return error_; }
  bool operator==(const Result&) const = default;

 private:
  std::string error_;
  bool failed_ = false;
};

}  // namespace platform
