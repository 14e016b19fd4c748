// Updating a profile file on POSIX systems: every check, the attribute reset and the read on one
// opened file, then one replace, all relative to the opened directory (whose name may be longer
// than the system takes in one call).
#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include "platform/fd_posix.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/profile_replace_posix.h"
#include "platform/text.h"

namespace platform {

namespace {

ProfileUpdate Skipped(std::string reason) { return {ProfileUpdate::Kind::Skipped, std::move(reason), {}}; }

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

// Opens the directory `path`, also one whose name is longer than the system takes in one call:
// such a name is walked in pieces of whole components.
int OpenDirectory(const std::string& path) {
  const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
  const int whole = ::open(path.c_str(), flags);
  if (whole >= 0 || errno != ENAMETOOLONG) return whole;
  Fd at(::open(path.front() == '/' ? "/" : ".", flags));
  std::size_t from = path.find_first_not_of('/');
  while (at.get() >= 0 && from != std::string::npos) {
    std::size_t to = std::min(path.size(), from + PATH_MAX - 1);
    if (to < path.size()) to = path.rfind('/', to);
    if (to == std::string::npos || to <= from) return -1;
    Fd next(::openat(at.get(), path.substr(from, to - from).c_str(), flags));
    ::dup2(next.get(), at.get());  // the descriptor keeps its number and follows the walk
    if (next.get() < 0) return -1;
    from = path.find_first_not_of('/', to);
  }
  return at.release();
}

// The name of the entry in `dir` that `name` means: itself when it exists, else the first entry
// whose name equals it ignoring ASCII case, in the directory's order.
std::optional<std::string> ResolveCaseAt(int dir, const std::string& name) {
  struct stat info {};
  if (::fstatat(dir, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) return name;
  DIR* listing = ::fdopendir(::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!listing) return std::nullopt;
  std::optional<std::string> found;
  while (const dirent* entry = ::readdir(listing))
    if (AsciiEqualNoCase(entry->d_name, name)) {
      found = entry->d_name;
      break;
    }
  ::closedir(listing);
  return found;
}

}  // namespace

ProfileUpdate UpdateProfileFile(const std::string& path, const std::vector<ProfileEdit>& edits) {
  const std::size_t slash = path.rfind('/');
  const std::string directory = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  Fd dir(base.empty() ? -1 : OpenDirectory(directory));
  const std::optional<std::string> onDisk = dir.get() < 0 ? std::nullopt : ResolveCaseAt(dir.get(), base);
  if (!onDisk) return Skipped("missing");
  Fd fd(::openat(dir.get(), onDisk->c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
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

  RemoveStaleTemporaries(dir.get(), *onDisk);
  return WriteEditedProfile(path, ReadUpTo(fd.get(), kProfileFileMax + 1), edits, [&](const std::string& bytes) {
    return ReplaceContent(dir.get(), *onDisk, fd.get(), info, bytes);
  });
}

}  // namespace platform
