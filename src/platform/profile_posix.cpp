// INI files on POSIX systems: every check and the read on one opened file, relative to the opened
// directory (whose name may be longer than the system takes in one call), and later the attribute
// reset and one replace on that same file.
#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
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

struct ProfileFile::Opened {
  Fd dir;
  Fd file;
  std::string name;  // as spelled in `dir`
  struct stat info {};
};

namespace {

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

bool InGroup(gid_t group) {
  if (group == ::getegid()) return true;
  gid_t groups[NGROUPS_MAX];
  const int count = ::getgroups(NGROUPS_MAX, groups);
  return std::find(groups, groups + std::max(count, 0), group) != groups + std::max(count, 0);
}

// Whether the owner's write bit can be set; the failure is the system's refusal.
Result<void> CheckCanMakeWritable(const struct stat& info, const struct statvfs& medium) {
  const char* reason = (medium.f_flag & ST_RDONLY) ? std::strerror(EROFS)
                       : (::geteuid() != 0 && ::geteuid() != info.st_uid) ? std::strerror(EPERM)
                                                                           : nullptr;
  if (reason == nullptr) return {};
  return Failure{std::string("cannot be made writable: ") + reason};
}

// What the file and its medium tell about writing it; `facts.writable` is set by the caller.
void LearnRoom(int dir, const struct stat& info, const struct statvfs& medium, ProfileFacts& facts) {
  // A temporary file can be given the original's owner and group only by root, or by the owner
  // when the group is one of the owner's.
  const bool sameOwner = ::geteuid() == 0 || (::geteuid() == info.st_uid && InGroup(info.st_gid));
  facts.inPlace = !sameOwner || ::faccessat(dir, ".", W_OK | X_OK, AT_EACCESS) != 0;
  facts.allocated = static_cast<std::int64_t>(info.st_blocks) * 512;
  facts.block = static_cast<std::int64_t>(std::max<unsigned long>(medium.f_frsize, 1));
  // Root may also take the blocks the file system keeps back for it.
  const auto freeBlocks = ::geteuid() == 0 ? medium.f_bfree : medium.f_bavail;
  facts.room = medium.f_blocks == 0 ? -1 : static_cast<std::int64_t>(freeBlocks) * facts.block;
}

}  // namespace

ProfileFile::ProfileFile() = default;
ProfileFile::ProfileFile(ProfileFile&&) noexcept = default;
ProfileFile& ProfileFile::operator=(ProfileFile&&) noexcept = default;
ProfileFile::~ProfileFile() = default;

ProfileFile ProfileFile::Open(const std::string& path) {
  ProfileFile file;
  file.path_ = path;
  ProfileFacts& facts = file.facts_;
  const std::size_t slash = path.rfind('/');
  const std::string directory = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  auto opened = std::make_unique<Opened>();
  opened->dir.reset(base.empty() ? -1 : OpenDirectory(directory));
  const std::optional<std::string> onDisk = opened->dir.get() < 0 ? std::nullopt : ResolveCaseAt(opened->dir.get(), base);
  facts.writable = Failure{"missing"};
  if (!onDisk) return file;
  opened->name = *onDisk;
  opened->file.reset(::openat(opened->dir.get(), onDisk->c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  struct stat& info = opened->info;
  struct statvfs medium {};
  if (opened->file.get() < 0) {
    facts.writable = Failure{errno == ELOOP ? "a symbolic link" : std::strerror(errno)};
  } else if (::fstat(opened->file.get(), &info) != 0 || ::fstatvfs(opened->file.get(), &medium) != 0) {
    facts.writable = Failure{std::strerror(errno)};
  } else if (!S_ISREG(info.st_mode)) {
    facts.writable = Failure{"not a regular file"};
  } else if (info.st_nlink > 1) {
    facts.writable = Failure{"more than one hard link"};
  } else {
    facts.writable = CheckCanMakeWritable(info, medium);
    if (Result<std::string> content = ReadUpTo(opened->file.get(), kProfileFileMax + 1))
      facts.content = std::move(*content);
    LearnRoom(opened->dir.get(), info, medium, facts);
  }
  file.opened_ = std::move(opened);
  return file;
}

bool ProfileFile::Apply(const ProfileUpdate& update, const std::vector<std::string>& stale) {
  if (!facts_.writable || !opened_) return true;
  // fchmod reports EROFS on a read-only mount even when the bits would not change.
  opened_->info.st_mode |= S_IWUSR;
  if (::fchmod(opened_->file.get(), opened_->info.st_mode & 07777) != 0) return false;
  RemoveStaleTemporaries(opened_->dir.get(), stale);
  if (update.kind != ProfileUpdate::Kind::Written) return true;
  return ReplaceContent(opened_->dir.get(), opened_->name, opened_->file.get(), opened_->info, update.bytes,
                        facts_.inPlace);
}

}  // namespace platform
