// Updating a profile file on POSIX systems: every check, the attribute reset and the read on one
// opened file, then one atomic replace.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include "platform/fd_posix.h"
#include "platform/files.h"
#include "platform/profile.h"

namespace platform {

namespace {

ProfileUpdate Skipped(std::string reason) { return {ProfileUpdate::Kind::Skipped, std::move(reason), {}}; }

bool WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    done += static_cast<std::size_t>(wrote);
  }
  return true;
}

// At most `cap` bytes; nullopt on a read error.
std::optional<std::string> ReadUpTo(int fd, std::size_t cap) {
  std::string bytes;
  char chunk[65536];
  while (bytes.size() < cap) {
    const ssize_t got = ::read(fd, chunk, std::min(sizeof chunk, cap - bytes.size()));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::nullopt;
    if (got == 0) break;
    bytes.append(chunk, static_cast<std::size_t>(got));
  }
  return bytes;
}

// Writes `bytes` into a new file beside `path` with the original's owner, group and mode, flushes
// it and renames it over `path`. The rename replaces the name, never what a link points to.
bool Replace(const std::string& path, const struct stat& original, const std::string& bytes) {
  std::string temporary = path + ".XXXXXX";
  Fd fd(::mkostemp(temporary.data(), O_CLOEXEC));
  if (fd.get() < 0) return false;
  const bool ok = ::fchown(fd.get(), original.st_uid, original.st_gid) == 0 &&
                  ::fchmod(fd.get(), original.st_mode & 07777) == 0 && WriteAll(fd.get(), bytes) &&
                  ::fdatasync(fd.get()) == 0 && ::rename(temporary.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temporary.c_str());
  return ok;
}

}  // namespace

ProfileUpdate UpdateProfileFile(const std::string& path, const std::vector<ProfileEdit>& edits) {
  const std::optional<std::string> onDisk = ResolveCase(path);
  if (!onDisk) return Skipped("missing");
  Fd fd(::open(onDisk->c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (fd.get() < 0) return Skipped(errno == ELOOP ? "a symbolic link" : std::strerror(errno));
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return Skipped(std::strerror(errno));
  if (!S_ISREG(info.st_mode)) return Skipped("not a regular file");
  if (info.st_nlink > 1) return Skipped("more than one hard link");
  // fchmod reports EROFS on a read-only mount even when the bits would not change, which makes
  // the reset the test of whether the medium can take writes.
  info.st_mode |= S_IWUSR;
  if (::fchmod(fd.get(), info.st_mode & 07777) != 0)
    return Skipped(std::string("cannot be made writable: ") + std::strerror(errno));
  if (edits.empty()) return {};

  return WriteEditedProfile(path, ReadUpTo(fd.get(), kProfileFileMax + 1), edits,
                            [&](const std::string& bytes) { return Replace(*onDisk, info, bytes); });
}

}  // namespace platform
