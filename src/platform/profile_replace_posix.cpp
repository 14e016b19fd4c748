#include "platform/profile_replace_posix.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <vector>

#include "platform/fd_posix.h"
#include "platform/profile.h"

namespace platform {

namespace {

std::string RandomSuffix() {
  std::array<unsigned char, kTemporarySuffixLength> noise{};
  if (::getrandom(noise.data(), noise.size(), 0) != static_cast<ssize_t>(noise.size()))
    for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<unsigned char>(::getpid() >> i);
  std::string suffix;
  for (const unsigned char byte : noise) suffix += kTemporarySuffixLetters[byte % kTemporarySuffixLetters.size()];
  return suffix;
}

// The temporary file in the making, for the signal handler: it may only call async-signal-safe
// functions, so it finds the name in a fixed buffer and the directory as a descriptor.
volatile std::sig_atomic_t gTemporaryDir = -1;
std::array<char, 256> gTemporaryName{};
constexpr std::array<int, 3> kInterruptions = {SIGTERM, SIGINT, SIGHUP};

extern "C" void RemoveTemporaryAndDie(int signal) {
  if (gTemporaryDir >= 0) ::unlinkat(gTemporaryDir, gTemporaryName.data(), 0);
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  ::sigaction(signal, &fallback, nullptr);
  ::raise(signal);  // delivered with its default action once this handler returns
}

// A temporary file beside the INI file, locked while it lives and removed unless it took the
// INI file's name. The interruptions that end the program by default remove it first; those
// that the program handles or ignores keep their handling.
class TemporaryFile {
 public:
  TemporaryFile(int dir, const std::string& name) : dir_(dir) {
    for (std::size_t i = 0; i < kInterruptions.size(); ++i) {
      struct sigaction current {};
      ::sigaction(kInterruptions[i], nullptr, &current);
      if (current.sa_handler != SIG_DFL || (current.sa_flags & SA_SIGINFO)) continue;
      struct sigaction handler {};
      handler.sa_handler = RemoveTemporaryAndDie;
      sigemptyset(&handler.sa_mask);
      guarded_[i] = ::sigaction(kInterruptions[i], &handler, nullptr) == 0;
    }
    // The handler knows each name before the file exists: an interruption just after the file's
    // creation would otherwise leave it behind. One just before finds nothing to remove.
    gTemporaryDir = dir;
    for (int attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
      name_ = TemporaryPrefix(name) + RandomSuffix();
      if (name_.size() >= gTemporaryName.size()) break;
      std::memcpy(gTemporaryName.data(), name_.c_str(), name_.size() + 1);
      fd_ = ::openat(dir, name_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
      if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) {
      gTemporaryDir = -1;
      return;
    }
    ::flock(fd_, LOCK_EX);
  }
  ~TemporaryFile() {
    if (fd_ >= 0 && !renamed_) ::unlinkat(dir_, name_.c_str(), 0);
    gTemporaryDir = -1;
    if (fd_ >= 0) ::close(fd_);
    for (std::size_t i = 0; i < kInterruptions.size(); ++i) {
      if (!guarded_[i]) continue;
      struct sigaction fallback {};
      fallback.sa_handler = SIG_DFL;
      ::sigaction(kInterruptions[i], &fallback, nullptr);
    }
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  int fd() const { return fd_; }
  bool RenameOver(const std::string& name) {
    renamed_ = ::renameat(dir_, name_.c_str(), dir_, name.c_str()) == 0;
    return renamed_;
  }

 private:
  int dir_;
  int fd_ = -1;
  std::string name_;
  bool renamed_ = false;
  std::array<bool, kInterruptions.size()> guarded_{};
};

bool WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t wrote = ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    done += static_cast<std::size_t>(wrote);
  }
  return true;
}

// User attributes, ACLs and security labels, copied as they are. False when one of them could not
// be read or set; a file system without extended attributes has none to copy.
bool CopyExtendedAttributes(int from, int to) {
  ssize_t size = ::flistxattr(from, nullptr, 0);
  if (size < 0) return errno == ENOTSUP;
  std::vector<char> names(static_cast<std::size_t>(size) + 1, '\0');
  size = ::flistxattr(from, names.data(), names.size() - 1);
  if (size < 0) return false;
  for (const char* name = names.data(); name < names.data() + size; name += std::strlen(name) + 1) {
    const ssize_t length = ::fgetxattr(from, name, nullptr, 0);
    if (length < 0) return false;
    std::vector<char> value(static_cast<std::size_t>(length) + 1);
    const ssize_t got = ::fgetxattr(from, name, value.data(), value.size() - 1);
    if (got < 0 || ::fsetxattr(to, name, value.data(), static_cast<std::size_t>(got), 0) != 0) return false;
  }
  return true;
}

// The file itself, rewritten as the system's profile functions write it. The space is reserved
// before the first byte changes, so a full medium leaves the old content whole.
bool WriteInPlace(int dir, const std::string& name, const struct stat& info, const std::string& bytes) {
  Fd fd(::openat(dir, name.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  struct stat now {};
  if (fd.get() < 0 || ::fstat(fd.get(), &now) != 0 || now.st_dev != info.st_dev || now.st_ino != info.st_ino)
    return false;
  if (static_cast<off_t>(bytes.size()) > now.st_size &&
      ::fallocate(fd.get(), 0, 0, static_cast<off_t>(bytes.size())) != 0 && errno != EOPNOTSUPP)
    return false;
  return WriteAll(fd.get(), bytes) && ::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) == 0 &&
         ::fdatasync(fd.get()) == 0;
}

}  // namespace

void RemoveStaleTemporaries(int dir, const std::vector<std::string>& stale) {
  for (const std::string& candidate : stale) {
    Fd fd(::openat(dir, candidate.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) ::unlinkat(dir, candidate.c_str(), 0);
  }
}

bool ReplaceContent(int dir, const std::string& name, int original, const struct stat& info,
                    const std::string& bytes, bool inPlace) {
  if (!inPlace) {
    TemporaryFile temporary(dir, name);
    const int fd = temporary.fd();
    if (fd >= 0 && ::fchown(fd, info.st_uid, info.st_gid) == 0 && ::fchmod(fd, info.st_mode & 07777) == 0 &&
        CopyExtendedAttributes(original, fd))
      return WriteAll(fd, bytes) && ::fdatasync(fd) == 0 && temporary.RenameOver(name);
  }
  return WriteInPlace(dir, name, info, bytes);
}

}  // namespace platform
