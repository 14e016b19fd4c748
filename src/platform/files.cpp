#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/text.h"

namespace platform {

namespace {

char LowerByte(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Closes a descriptor or a directory stream on every path out of a function.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

class Dir {
 public:
  explicit Dir(const std::string& path) : dir_(::opendir(path.c_str())), error_(dir_ ? 0 : errno) {}
  ~Dir() {
    if (dir_) ::closedir(dir_);
  }
  Dir(const Dir&) = delete;
  Dir& operator=(const Dir&) = delete;
  int error() const { return error_; }

  // The next entry's name other than "." and "..", or nullptr at the end (error() tells why).
  const char* Next() {
    if (!dir_) return nullptr;
    for (;;) {
      errno = 0;
      const dirent* entry = ::readdir(dir_);
      if (!entry) {
        error_ = errno;
        return nullptr;
      }
      if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
        return entry->d_name;
    }
  }

 private:
  DIR* dir_;
  int error_;
};

// Splits a path into its directory (for opendir) and its last component.
struct PathParts {
  std::string directory;  // "." for a bare name
  std::string prefix;     // what goes before a re-spelled last component
  std::string name;
};
PathParts SplitPath(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {".", "", path};
  return {slash == 0 ? "/" : path.substr(0, slash), path.substr(0, slash + 1), path.substr(slash + 1)};
}

// Opens for reading without ever waiting: a FIFO on a disc must not hang the launcher (for
// regular files the flag changes nothing).
int OpenForReading(const std::string& path) {
  return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
}

}  // namespace

// Greedy matching that remembers only the last `*`: on a mismatch the star absorbs one more
// character and the rest is retried from there. Earlier stars never need revisiting, so the
// work is bounded by pattern length times name length even for patterns like "*a*a*a*b".
bool WildcardMatch(std::string_view pattern, std::string_view name) {
  std::size_t p = 0, n = 0;
  std::size_t starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || LowerByte(pattern[p]) == LowerByte(name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

DirSearch SearchDirectory(const std::string& directory, std::string_view pattern) {
  DirSearch result;
  Dir dir(directory.empty() ? std::string(".") : directory);
  if (dir.error() != 0) {
    result.code = dir.error();
    return result;
  }
  while (const char* name = dir.Next())
    if (WildcardMatch(pattern, name)) result.names.emplace_back(name);
  if (!result.names.empty())
    result.code = 0;
  else
    result.code = dir.error() != 0 ? dir.error() : ENOENT;
  return result;
}

std::string FindFirst(std::string_view pattern) {
  DirSearch search = SearchDirectory(".", pattern);
  return search.names.empty() ? std::string() : search.names.front();
}

std::optional<std::string> ResolveCase(const std::string& path) {
  if (path.empty()) return std::nullopt;
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0) return path;
  const PathParts parts = SplitPath(path);
  if (parts.name.empty()) return std::nullopt;
  Dir dir(parts.directory);
  while (const char* name = dir.Next())
    if (AsciiEqualNoCase(name, parts.name)) return parts.prefix + name;
  return std::nullopt;
}

bool FileExists(const std::string& path) {
  const std::optional<std::string> found = ResolveCase(path);
  struct stat info {};
  return found && ::stat(found->c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string CurrentDirectory() {
  std::string buffer(4096, '\0');
  for (;;) {
    if (::getcwd(buffer.data(), buffer.size())) return std::string(buffer.c_str());
    if (errno != ERANGE || buffer.size() > (1u << 20)) return ".";
    buffer.resize(buffer.size() * 2);
  }
}

std::string ExecutableDirectory() {
  std::string target(4096, '\0');
  const ssize_t length = ::readlink("/proc/self/exe", target.data(), target.size());
  std::string directory;
  if (length > 0 && static_cast<std::size_t>(length) < target.size()) {
    target.resize(static_cast<std::size_t>(length));
    directory = SplitPath(target).directory;
  } else {
    directory = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
  }
  if (directory.empty() || directory.back() != '/') directory += '/';
  return directory;
}

std::optional<std::string> ReadAt(const std::string& path, std::int64_t offset, std::size_t count) {
  Fd fd(OpenForReading(path));
  if (fd.get() < 0) return std::nullopt;
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return std::nullopt;
  if (offset < 0 || offset >= static_cast<std::int64_t>(info.st_size)) return std::string();
  // Never allocate more than the file can give, whatever the caller asks for.
  const std::uint64_t available = static_cast<std::uint64_t>(info.st_size - offset);
  std::string bytes(static_cast<std::size_t>(std::min<std::uint64_t>(count, available)), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::pread(fd.get(), bytes.data() + done, bytes.size() - done,
                                static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  bytes.resize(done);
  return bytes;
}

FileRead ReadFileHead(const std::string& path, std::size_t maxBytes) {
  FileRead result;
  Fd fd(OpenForReading(path));
  if (fd.get() < 0) {
    result.error = std::strerror(errno);
    return result;
  }
  char chunk[65536];
  while (result.bytes.size() < maxBytes) {
    const std::size_t want = std::min(sizeof chunk, maxBytes - result.bytes.size());
    const ssize_t got = ::read(fd.get(), chunk, want);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      result.error = std::strerror(errno);
      result.bytes.clear();
      return result;
    }
    if (got == 0) break;
    result.bytes.append(chunk, static_cast<std::size_t>(got));
  }
  return result;
}

std::vector<std::string> SplitTextLines(std::string_view bytes) {
  const std::size_t nul = bytes.find('\0');
  if (nul != std::string_view::npos) bytes = bytes.substr(0, nul);
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') continue;
    lines.emplace_back(bytes.substr(start, i - start));
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
  return lines;
}

// chmod reports EROFS on a read-only mount even when the bits would not change, which is what
// makes this a probe of whether the medium can take writes.
bool MakeWritable(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return false;
  return ::chmod(path.c_str(), (info.st_mode & 07777) | S_IWUSR) == 0;
}

// A file system that reports no blocks at all (tmpfs without a size limit, some FUSE mounts)
// says nothing about free space, so only a known total with nothing free counts as full.
bool IsMediumReady(const std::string& directory) {
  {
    Dir dir(directory);
    dir.Next();  // the first read is where a missing or unreadable medium shows
    switch (dir.error()) {
      case ENOMEDIUM:
      case EIO:
      case ENODEV:
      case ENXIO:
        return false;
      default:
        break;
    }
  }
  struct statvfs fs {};
  if (::statvfs(directory.c_str(), &fs) != 0) return true;
  if (fs.f_flag & ST_RDONLY) return false;
  return !(fs.f_blocks > 0 && fs.f_bfree == 0);
}

}  // namespace platform
