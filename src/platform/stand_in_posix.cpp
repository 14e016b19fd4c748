#include "platform/stand_in.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/fd_posix.h"

namespace platform {
namespace {

// Streams at most `count` bytes from `from` to `to`.
bool CopyBytes(int from, int to, std::size_t count) {
  char chunk[65536];
  while (count > 0) {
    const ssize_t got = ::read(from, chunk, std::min(sizeof chunk, count));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    for (ssize_t done = 0; done < got;) {
      const ssize_t wrote = ::write(to, chunk + done, static_cast<std::size_t>(got - done));
      if (wrote < 0 && errno == EINTR) continue;
      if (wrote <= 0) return false;
      done += wrote;
    }
    count -= static_cast<std::size_t>(got);
  }
  return true;
}

bool CopyRegularFile(const std::string& original, const struct stat& info, const std::string& copy,
                     std::size_t maxBytes) {
  Fd to(::open(copy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
  if (to.get() < 0) return false;
  // An original the user may not read gives an empty copy, which refuses reading as well once
  // its mode is the original's.
  Fd from(::open(original.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (from.get() >= 0 && !CopyBytes(from.get(), to.get(), maxBytes)) return false;
  if (::fchown(to.get(), info.st_uid, info.st_gid) != 0 && errno != EPERM) return false;
  if (::fchmod(to.get(), info.st_mode & 07777) != 0) return false;
  return info.st_nlink < 2 || ::link(copy.c_str(), (copy + ".second-name").c_str()) == 0;
}

}  // namespace

bool MakeStandIn(const std::string& original, const std::string& copy, std::size_t maxBytes) {
  struct stat info {};
  if (::lstat(original.c_str(), &info) != 0) return false;
  if (S_ISLNK(info.st_mode)) {
    const std::string target = copy + ".link-target";
    Fd empty(::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    return empty.get() >= 0 && ::symlink(target.c_str(), copy.c_str()) == 0;
  }
  if (S_ISREG(info.st_mode)) return CopyRegularFile(original, info, copy, maxBytes);
  if (S_ISDIR(info.st_mode)) return ::mkdir(copy.c_str(), 0755) == 0;
  return ::mkfifo(copy.c_str(), 0644) == 0;
}

}  // namespace platform
