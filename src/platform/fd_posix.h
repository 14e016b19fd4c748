#pragma once
// Closes a POSIX descriptor on every path out of a function. For the *_posix and *_linux backends
// only.
#include <unistd.h>

#include <cstddef>
#include <optional>
#include <string>

namespace platform {

class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
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
// must not hang the launcher, nor a device be opened at all). -1 with `error` set to the reason
// otherwise: the system's message, "Is a directory", or "Not a regular file".
int OpenRegularFile(const char* path, std::string& error);

// Reads on from where `fd` stands until its end or `cap` bytes, whichever comes first, in chunks
// (an interrupted read is retried). nullopt on a read error, with `error` set to its errno.
std::optional<std::string> ReadUpTo(int fd, std::size_t cap, int& error);

}  // namespace platform
