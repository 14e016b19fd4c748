#include "syscall_count.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdarg>

namespace bench {

namespace {
SyscallCounts counts;
}

SyscallCounts& Counts() { return counts; }
void ResetCounts() { counts = {}; }

}  // namespace bench

// The linker sends every call to `open` (and the others) from our objects here and binds the
// `__real_` names to the C library's functions.
extern "C" {
int __real_open(const char* path, int flags, ...);
int __real_close(int fd);
int __real_fstat(int fd, struct stat* info);
off_t __real_lseek(int fd, off_t offset, int whence);
ssize_t __real_read(int fd, void* buffer, size_t count);
ssize_t __real_pread(int fd, void* buffer, size_t count, off_t offset);

int __wrap_open(const char* path, int flags, ...) {
  ++bench::counts.open;
  mode_t mode = 0;
  if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE) {
    va_list rest;
    va_start(rest, flags);
    mode = static_cast<mode_t>(va_arg(rest, int));
    va_end(rest);
  }
  return __real_open(path, flags, mode);
}
int __wrap_close(int fd) {
  ++bench::counts.close;
  return __real_close(fd);
}
int __wrap_fstat(int fd, struct stat* info) {
  ++bench::counts.fstat;
  return __real_fstat(fd, info);
}
off_t __wrap_lseek(int fd, off_t offset, int whence) {
  ++bench::counts.lseek;
  return __real_lseek(fd, offset, whence);
}
ssize_t __wrap_read(int fd, void* buffer, size_t count) {
  ++bench::counts.read;
  return __real_read(fd, buffer, count);
}
ssize_t __wrap_pread(int fd, void* buffer, size_t count, off_t offset) {
  ++bench::counts.pread;
  return __real_pread(fd, buffer, count, offset);
}
}
