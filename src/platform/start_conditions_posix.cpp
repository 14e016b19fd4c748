#include <errno.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <system_error>
#include <thread>

#include "platform/start_conditions.h"

namespace platform {

void OpenStandardDescriptors() {
  // The lowest free number is the one opened, so in this order each open fills its own gap.
  for (int fd = 0; fd <= 2; ++fd)
    if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF) ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
}

bool RoomToStart(std::size_t bytes) {
  // Reserved, never touched: it costs address space only, which is what runs out under a limit.
  void* room = ::mmap(nullptr, bytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (room == MAP_FAILED) return false;
  bool started = true;
  try {
    std::thread([] {}).join();
  } catch (const std::system_error&) {
    started = false;
  }
  ::munmap(room, bytes);
  return started;
}

}  // namespace platform
