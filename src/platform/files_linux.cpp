// The file services that only Linux answers this way: the running executable's path and the
// medium's state.
#include <sys/statvfs.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <cerrno>

#include "platform/files.h"

namespace platform {

std::string ExecutableDirectory() {
  std::string target(4096, '\0');
  const ssize_t length = ::readlink("/proc/self/exe", target.data(), target.size());
  std::string directory;
  if (length > 0 && static_cast<std::size_t>(length) < target.size()) {
    target.resize(static_cast<std::size_t>(length));
    directory = target.substr(0, target.rfind('/') + 1);
  } else {
    directory = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
  }
  if (directory.empty() || directory.back() != '/') directory += '/';
  return directory;
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
  // A file system that reports no blocks at all (tmpfs without a size limit, some FUSE mounts)
  // says nothing about free space, so only a known total with nothing free counts as full.
  struct statvfs fs {};
  if (::statvfs(directory.c_str(), &fs) != 0) return true;
  if (fs.f_flag & ST_RDONLY) return false;
  return !(fs.f_blocks > 0 && fs.f_bfree == 0);
}

bool IsMediumReady(const std::string& directory) {
  return IsMediumReady(directory, ListDirectory(directory).code);
}

}  // namespace platform
