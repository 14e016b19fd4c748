#pragma once
// A Windows handle closed on every path out of a function, and the one chunked read of an opened
// file. For the *_win backends only; kept free of the system's headers (a HANDLE is a pointer, a
// DWORD an unsigned long).
#include <cstddef>
#include <optional>
#include <string>

#include "platform/result.h"

namespace platform {

class Handle {
 public:
  static void* Invalid() { return reinterpret_cast<void*>(static_cast<long long>(-1)); }
  explicit Handle(void* handle = Invalid()) : handle_(handle ? handle : Invalid()) {}
  ~Handle();
  Handle(Handle&& other) noexcept : handle_(other.release()) {}
  Handle& operator=(Handle&&) = delete;
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  void* get() const { return handle_; }
  bool ok() const { return handle_ != Invalid(); }
  void* release() {
    void* handle = handle_;
    handle_ = Invalid();
    return handle;
  }

 private:
  void* handle_;
};

// The system's text for an error code, without its line break.
std::string SystemMessage(unsigned long code);

// Reads on from the file's position until its end or `cap` bytes, whichever comes first, in chunks;
// the system's message on a read error.
Result<std::string> ReadUpTo(void* file, std::size_t cap);

}  // namespace platform
