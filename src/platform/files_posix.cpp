// The file services on POSIX systems.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "platform/files.h"
#include "platform/file_reader.h"
#include "platform/fd_posix.h"

namespace platform {

namespace {

class Dir {
 public:
  explicit Dir(const std::string& path) : dir_(::opendir(path.c_str())), error_(dir_ ? 0 : errno) {}
  ~Dir() {
    if (dir_) ::closedir(dir_);
  }
  Dir(const Dir&) = delete;
  Dir& operator=(const Dir&) = delete;
  int error() const { return error_; }
  int fd() const { return dir_ ? ::dirfd(dir_) : -1; }

  // The next entry other than "." and "..", or nullptr at the end (error() tells why).
  const dirent* Next() {
    if (!dir_) return nullptr;
    for (;;) {
      errno = 0;
      const dirent* entry = ::readdir(dir_);
      if (!entry) {
        error_ = errno;
        return nullptr;
      }
      if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) return entry;
    }
  }

 private:
  DIR* dir_;
  int error_;
};

EntryKind KindOf(mode_t mode) {
  if (S_ISREG(mode)) return EntryKind::File;
  if (S_ISDIR(mode)) return EntryKind::Directory;
  return EntryKind::Other;
}

// The entry's type from the directory itself where the file system gives it; links and file
// systems without types are asked with a stat that follows links, when the name is one of those
// wanted.
EntryKind KindOf(const Dir& dir, const dirent& entry, NamePatterns wanted) {
  switch (entry.d_type) {
    case DT_REG: return EntryKind::File;
    case DT_DIR: return EntryKind::Directory;
    case DT_LNK:
    case DT_UNKNOWN: break;
    default: return EntryKind::Other;
  }
  if (!MatchesAny(wanted, entry.d_name)) return EntryKind::Unknown;
  struct stat info {};
  if (::fstatat(dir.fd(), entry.d_name, &info, 0) != 0) return EntryKind::Other;
  return KindOf(info.st_mode);
}

// A bare name's directory is ".", and what goes before a re-spelled last component is "".
struct PathParts {
  std::string directory;
  std::string prefix;
  std::string name;
};
PathParts SplitPath(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {".", "", path};
  return {slash == 0 ? "/" : path.substr(0, slash), path.substr(0, slash + 1), path.substr(slash + 1)};
}

std::string NotAFile(mode_t mode) { return S_ISDIR(mode) ? std::strerror(EISDIR) : "Not a regular file"; }

}  // namespace

// The stat before the open keeps devices from being opened at all (opening one can have effects
// of its own); the fstat after it catches a file swapped in between.
Result<Fd> OpenRegularFile(const char* path) {
  struct stat info {};
  if (::stat(path, &info) != 0) return Failure{std::strerror(errno)};
  if (!S_ISREG(info.st_mode)) return Failure{NotAFile(info.st_mode)};
  Fd fd(::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0) return Failure{std::strerror(errno)};
  if (!S_ISREG(info.st_mode)) return Failure{NotAFile(info.st_mode)};
  return fd;
}

Listing ListDirectory(const std::string& directory, NamePatterns kindPatterns) {
  Listing listing;
  Dir dir(directory.empty() ? std::string(".") : directory);
  while (const dirent* entry = dir.Next())
    listing.entries.push_back({entry->d_name, KindOf(dir, *entry, kindPatterns)});
  if (!listing.entries.empty())
    listing.code = 0;
  else
    listing.code = dir.error() != 0 ? dir.error() : kNothingFound;
  return listing;
}

std::optional<std::string> ResolveCase(const std::string& path) {
  if (path.empty()) return std::nullopt;
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0) return path;
  const PathParts parts = SplitPath(path);
  if (parts.name.empty()) return std::nullopt;
  const Listing listing = ListDirectory(parts.directory);
  const ListingEntry* entry = LookupEntry(listing, parts.name);
  if (!entry) return std::nullopt;
  return parts.prefix + entry->name;
}

bool FileExists(const std::string& path) {
  const std::optional<std::string> found = ResolveCase(path);
  struct stat info {};
  return found && ::stat(found->c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool EnterDirectory(const std::string& directory) { return ::chdir(directory.c_str()) == 0; }

std::string CurrentDirectory() {
  std::string buffer(4096, '\0');
  for (;;) {
    if (::getcwd(buffer.data(), buffer.size())) return std::string(buffer.c_str());
    if (errno != ERANGE || buffer.size() > (1u << 20)) return ".";
    buffer.resize(buffer.size() * 2);
  }
}

char PathSeparator() { return '/'; }

bool SameDirectory(const std::string& a, const std::string& b) {
  return WithTrailingSeparator(a) == WithTrailingSeparator(b);
}

bool IsOnDrive(const std::string& directory) { return !directory.empty() && directory.front() == '/'; }

FileReader::FileReader(const std::string& path) {
  Result<Fd> fd = OpenRegularFile(path.c_str());
  struct stat info {};
  if (!fd || ::fstat(fd->get(), &info) != 0) return;
  size_ = static_cast<std::int64_t>(info.st_size);
  handle_ = fd->release();
}

FileReader::~FileReader() {
  if (ok()) ::close(static_cast<int>(handle_));
}

std::string FileReader::ReadAt(std::int64_t offset, std::size_t count) const {
  if (offset < 0 || offset >= size_) return {};
  // Never allocate more than the file can give, whatever the caller asks for.
  const std::uint64_t available = static_cast<std::uint64_t>(size_ - offset);
  std::string bytes(static_cast<std::size_t>(std::min<std::uint64_t>(count, available)), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::pread(static_cast<int>(handle_), bytes.data() + done, bytes.size() - done,
                                static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  bytes.resize(done);
  return bytes;
}

Result<std::string> ReadUpTo(int fd, std::size_t cap) {
  std::string bytes;
  char chunk[65536];
  while (bytes.size() < cap) {
    const ssize_t got = ::read(fd, chunk, std::min(sizeof chunk, cap - bytes.size()));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Failure{std::strerror(errno)};
    if (got == 0) break;
    bytes.append(chunk, static_cast<std::size_t>(got));
  }
  return bytes;
}

Result<std::string> ReadFileHead(const std::string& path, std::size_t maxBytes) {
  const Result<Fd> fd = OpenRegularFile(path.c_str());
  if (!fd) return Failure{fd.error()};
  return ReadUpTo(fd->get(), maxBytes);
}

Result<FileHandle> OpenDiscFile(const std::string& path) {
  Result<Fd> fd = OpenRegularFile(path.c_str());
  if (!fd) return Failure{CannotOpenMessage(path, fd.error())};
  FileHandle file(::fdopen(fd->get(), "rb"));
  if (!file) return Failure{CannotOpenMessage(path, std::strerror(errno))};
  fd->release();
  return file;
}

}  // namespace platform
