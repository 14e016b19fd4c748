#pragma once
// Closes a POSIX descriptor on every path out of a function. For the *_posix and *_linux backends
// only.
#include <unistd.h>

#include <cstddef>
#include <optional>
#include <string>

#include "platform/result.h"

namespace platform {

class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(Fd&& other) noexcept : fd_(other.release()) {}
  Fd& operator=(Fd&&) = delete;
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  void reset(int fd) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

// Opens an existing regular file for reading without ever waiting (a FIFO or a device on a disc
// must not hang the launcher, nor a device be opened at all); otherwise the reason: the system's
// message, "Is a directory", or "Not a regular file".
Result<Fd> OpenRegularFile(const char* path);

// Reads on from where `fd` stands until its end or `cap` bytes, whichever comes first, in chunks
// (an interrupted read is retried); the system's message on a read error.
Result<std::string> ReadUpTo(int fd, std::size_t cap);

}  // namespace platform
