// The display the toolkit will use, as it chooses one, and whether it can be reached and drawn on.
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/environment_posix.h"
#include "platform/fd_posix.h"
#include "platform/start_conditions.h"
#include "platform/text.h"

namespace platform {

namespace {

bool WaylandSession() {
  return NonEmptyVariable("WAYLAND_DISPLAY") || NonEmptyVariable("XDG_SESSION_TYPE") == "wayland";
}

bool GnomeDesktop() {
  for (const char* name : {"XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP"})
    if (AsciiLower(NonEmptyVariable(name).value_or("")).find("gnome") != std::string::npos) return true;
  return false;
}

// The program places its own window and is dragged by its own title strip, which Wayland
// compositors do not allow: in a Wayland session that also offers X11 it runs on X11, unless the
// user chose a platform.
bool PreferX11() { return !NonEmptyVariable("QT_QPA_PLATFORM") && WaylandSession() && NonEmptyVariable("DISPLAY"); }

// The platform plugins the toolkit tries, in its order (the toolkit skips Wayland on GNOME).
std::vector<std::string> ToolkitPlatforms() {
  if (const std::optional<std::string> chosen = NonEmptyVariable("QT_QPA_PLATFORM")) {
    std::vector<std::string> names;
    for (const std::string_view entry : NonEmptyPieces(*chosen, ';')) names.emplace_back(entry.substr(0, entry.find(':')));
    return names;
  }
  if (PreferX11() || !WaylandSession() || GnomeDesktop()) return {"xcb"};
  return {"wayland", "xcb"};
}

// One platform's answer: whether the toolkit can draw on it, or why not. `final` when the toolkit
// takes this platform whatever the answer, so that no later one is tried.
struct Check {
  Result<void> usable;
  bool final = false;
};

// A server that refuses a client (authorisation) sends a reason, which libxcb writes straight to
// standard error; it is caught here to become part of the one line.
xcb_connection_t* ConnectCatchingReason(const char* display, int* screen, std::string& reason) {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return xcb_connect(display, screen);
  const Fd readEnd(ends[0]), writeEnd(ends[1]);
  const Fd standardError(::fcntl(2, F_DUPFD_CLOEXEC, 3));
  if (standardError.get() < 0) return xcb_connect(display, screen);
  ::dup2(writeEnd.get(), 2);
  xcb_connection_t* connection = xcb_connect(display, screen);
  ::dup2(standardError.get(), 2);
  char text[512];
  const ssize_t got = ::read(readEnd.get(), text, sizeof text);
  if (got > 0) reason = Trim(std::string_view(text, static_cast<std::size_t>(got)));
  for (char& c : reason)
    if (c == '\n' || c == '\r') c = ' ';
  return connection;
}

// Whether the screen has a visual the toolkit draws with: true or direct colour of 16 bits or
// more. On an 8-bit (palette) screen the window maps and stays blank.
bool DrawableScreen(const xcb_screen_t& screen) {
  for (xcb_depth_iterator_t depth = xcb_screen_allowed_depths_iterator(&screen); depth.rem != 0;
       xcb_depth_next(&depth)) {
    if (depth.data->depth < 16) continue;
    for (xcb_visualtype_iterator_t visual = xcb_depth_visuals_iterator(depth.data); visual.rem != 0;
         xcb_visualtype_next(&visual))
      if (visual.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR || visual.data->_class == XCB_VISUAL_CLASS_DIRECT_COLOR)
        return true;
  }
  return false;
}

Failure NoSuchScreen(const std::string& display) {
  return {"the X server at DISPLAY=" + display + " has no such screen"};
}

// Why libxcb's connection failed, with the server's own reason when it sent one.
Failure ConnectionFailure(int error, const std::string& display, const std::string& reason) {
  if (error == XCB_CONN_CLOSED_PARSE_ERR) return {"DISPLAY=" + display + " names no display"};
  if (error == XCB_CONN_CLOSED_INVALID_SCREEN) return NoSuchScreen(display);
  if (reason.empty()) return {"no X server can be reached at DISPLAY=" + display};
  return {"the X server at DISPLAY=" + display + " refused the connection: " + reason};
}

// Whether the toolkit can draw on screen `number` of the connected server.
Result<void> CheckScreen(xcb_connection_t* connection, int number, const std::string& display) {
  xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(connection));
  for (int skip = number; skip > 0 && screen.rem != 0; --skip) xcb_screen_next(&screen);
  if (screen.rem == 0) return NoSuchScreen(display);
  if (!DrawableScreen(*screen.data))
    return Failure{"the screen at DISPLAY=" + display + " has " + std::to_string(screen.data->root_depth) +
                   "-bit colour; the launcher needs 16-bit colour or more"};
  return {};
}

Check CheckX11(bool chosen) {
  const std::optional<std::string> display = NonEmptyVariable("DISPLAY");
  if (!display) return {Failure{chosen ? "QT_QPA_PLATFORM is xcb but DISPLAY is not set" : "DISPLAY is not set"}};
  int screenNumber = 0;
  std::string reason;
  xcb_connection_t* connection = ConnectCatchingReason(display->c_str(), &screenNumber, reason);
  const int error = xcb_connection_has_error(connection);
  Check check = error != 0 ? Check{ConnectionFailure(error, *display, reason)}
                           : Check{CheckScreen(connection, screenNumber, *display), true};
  xcb_disconnect(connection);
  return check;
}

Check CheckWayland() {
  const std::string name = NonEmptyVariable("WAYLAND_DISPLAY").value_or("wayland-0");
  std::string path = name;
  if (name.front() != '/') {
    const std::optional<std::string> runtime = NonEmptyVariable("XDG_RUNTIME_DIR");
    if (!runtime) return {Failure{"XDG_RUNTIME_DIR, where the Wayland display " + name + " lies, is not set"}};
    path = *runtime + "/" + name;
  }
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return {Failure{"the Wayland display's path is too long: " + path}};
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const Fd socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (socket.get() >= 0 && ::connect(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
    return {{}, true};
  return {Failure{"no Wayland compositor at " + path + " (" + std::strerror(errno) + ")"}};
}

}  // namespace

Result<void> CheckWindowSystem() {
  const bool chosen = NonEmptyVariable("QT_QPA_PLATFORM").has_value();
  if (!chosen && !NonEmptyVariable("DISPLAY") && !NonEmptyVariable("WAYLAND_DISPLAY"))
    return NoDisplay("neither DISPLAY nor WAYLAND_DISPLAY is set");
  std::string problems;
  for (const std::string& platform : ToolkitPlatforms()) {
    Check check;
    if (platform == "xcb") check = CheckX11(chosen);
    else if (platform.rfind("wayland", 0) == 0) check = CheckWayland();
    else return {};  // offscreen, a frame buffer, VNC...: the user's choice is trusted
    if (check.usable || check.final) return check.usable;
    problems += (problems.empty() ? "" : "; ") + check.usable.error();
  }
  return NoDisplay(problems);
}

EnvironmentChanges ToolkitStartEnvironment() {
  EnvironmentChanges changes;
  if (PreferX11()) changes.emplace_back("QT_QPA_PLATFORM", "xcb");
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const bool absoluteRuntime = runtime != nullptr && runtime[0] == '/';
  if (runtime != nullptr && !absoluteRuntime) changes.emplace_back("XDG_RUNTIME_DIR", std::nullopt);
  // Where no session bus is set, the bus library would launch one for the accessibility bridge
  // (with dbus-x11 installed), which outlives the program; the user's bus in the runtime
  // directory is found without launching anything.
  if (!NonEmptyVariable("DBUS_SESSION_BUS_ADDRESS") && !(absoluteRuntime && IsKind(std::string(runtime) + "/bus", S_IFSOCK)))
    changes.emplace_back("DBUS_SESSION_BUS_ADDRESS", "unix:path=/dev/null");
  const char* temporary = std::getenv("TMPDIR");
  if (temporary != nullptr && !(temporary[0] == '/' && IsKind(temporary, S_IFDIR)))
    changes.emplace_back("TMPDIR", std::nullopt);
  return changes;
}

}  // namespace platform
