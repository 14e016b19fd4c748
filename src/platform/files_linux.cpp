// The file services that only Linux answers this way: the running executable's directory and the
// medium's state.
#include "platform/files_linux.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <optional>
#include <vector>

#include "platform/files.h"

namespace platform {

namespace {

struct FileId {
  dev_t device = 0;
  ino_t inode = 0;
  bool operator==(const FileId&) const = default;
};

std::optional<FileId> IdOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return FileId{info.st_dev, info.st_ino};
}

// The file mapped at this function's own code: the program itself (this library is linked into it
// statically), also when the dynamic loader was started with the program's name as its argument
// and /proc/self/exe names the loader.
std::optional<FileId> RunningProgram() {
  std::FILE* maps = std::fopen("/proc/self/maps", "re");
  if (!maps) return std::nullopt;
  const auto here = reinterpret_cast<std::uintptr_t>(&RunningProgram);
  std::optional<FileId> found;
  char line[4096];
  while (!found && std::fgets(line, sizeof line, maps)) {
    std::uintptr_t begin = 0, end = 0;
    unsigned major = 0, minor = 0;
    unsigned long long inode = 0;
    if (std::sscanf(line, "%" SCNxPTR "-%" SCNxPTR " %*s %*x %x:%x %llu", &begin, &end, &major, &minor, &inode) == 5 &&
        begin <= here && here < end && inode != 0)
      found = FileId{makedev(major, minor), static_cast<ino_t>(inode)};
  }
  std::fclose(maps);
  return found;
}

std::optional<std::string> ExeLinkTarget() {
  std::string target(4096, '\0');
  for (;;) {
    const ssize_t length = ::readlink("/proc/self/exe", target.data(), target.size());
    if (length <= 0) return std::nullopt;  // ENAMETOOLONG for a path the kernel cannot give
    if (static_cast<std::size_t>(length) < target.size()) return target.substr(0, static_cast<std::size_t>(length));
    target.resize(target.size() * 2);
  }
}

// "a/./b/" without its "." steps; ".." stays, as a link may lie before it.
std::string WithoutDotSteps(const std::string& directory) {
  std::string out;
  std::size_t from = 0;
  while (from < directory.size()) {
    std::size_t to = directory.find('/', from);
    if (to == std::string::npos) to = directory.size();
    const std::string step = directory.substr(from, to - from);
    if (step != "." && (!step.empty() || out.empty())) out += step + "/";
    from = to + 1;
  }
  return out;
}

std::string DirectoryOf(const std::string& path) { return path.substr(0, path.rfind('/') + 1); }

}  // namespace

std::string ProgramDirectory(const std::string& argv0, const std::string& startDirectory) {
  const std::optional<FileId> running = RunningProgram();
  if (!running) return {};
  // Each candidate: the name to examine (relative names from the start-up directory, which is
  // still the current one) and the directory it stands for.
  std::vector<std::pair<std::string, std::string>> candidates;
  if (const auto target = ExeLinkTarget()) candidates.emplace_back(*target, DirectoryOf(*target));
  const std::string start = WithTrailingSeparator(startDirectory);
  if (argv0.find('/') != std::string::npos)
    candidates.emplace_back(argv0, argv0.front() == '/' ? DirectoryOf(argv0) : start + DirectoryOf(argv0));
  if (!argv0.empty()) candidates.emplace_back("./" + argv0.substr(argv0.rfind('/') + 1), start);
  for (const auto& [path, directory] : candidates)
    if (IdOf(path) == running && directory.front() == '/') return WithoutDotSteps(directory);
  return {};
}

std::string ExecutableDirectoryAt(const std::string& directory) {
  const bool absolute = !directory.empty() && directory.front() == '/';
  return WithoutDotSteps(WithTrailingSeparator(absolute ? directory : WithTrailingSeparator(CurrentDirectory()) + directory));
}

std::string ExecutableDirectory() {
  const QStringList arguments = QCoreApplication::arguments();
  const std::string argv0 = arguments.isEmpty() ? std::string() : QFile::encodeName(arguments.front()).toStdString();
  return ProgramDirectory(argv0, CurrentDirectory());
}

bool CanTakeWrites(const struct statvfs& fs) {
  if (fs.f_flag & ST_RDONLY) return false;
  return fs.f_blocks == 0 || fs.f_bavail > 0;
}

bool IsMediumReady(const std::string& directory, int listingCode) {
  switch (listingCode) {
    case ENOMEDIUM:
    case EIO:
    case ENODEV:
    case ENXIO:
      return false;
    default:
      break;
  }
  struct statvfs fs {};
  return ::statvfs(directory.c_str(), &fs) != 0 || CanTakeWrites(fs);
}

}  // namespace platform
