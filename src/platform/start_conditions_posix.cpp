#include "platform/start_conditions.h"

#include <sys/mman.h>

#include <cstdlib>
#include <string_view>
#include <system_error>
#include <thread>

namespace platform {

namespace {

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

}  // namespace

std::string MissingDisplay() {
  const bool x11 = IsSet("DISPLAY");
  if (!IsSet("QT_QPA_PLATFORM"))
    return x11 || IsSet("WAYLAND_DISPLAY") ? "" : "neither DISPLAY nor WAYLAND_DISPLAY is set";
  // A platform the user chose is trusted, except X11 without a server to reach.
  const std::string_view chosen = std::getenv("QT_QPA_PLATFORM");
  const bool onlyX11 = chosen == "xcb" || chosen.substr(0, 4) == "xcb:";
  return onlyX11 && !x11 ? "QT_QPA_PLATFORM is xcb but DISPLAY is not set" : "";
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
