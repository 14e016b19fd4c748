// The window manager's move (_NET_WM_MOVERESIZE) on the toolkit's own X11 connection.
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/display.h"

namespace platform {

namespace {

template <typename Reply>
using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
Owned<Reply> Own(Reply* reply) {
  return Owned<Reply>(reply, &std::free);
}

xcb_connection_t* Connection() {
  if (qGuiApp == nullptr) return nullptr;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 != nullptr ? x11->connection() : nullptr;
}

xcb_window_t Root(xcb_connection_t* connection) {
  const xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(connection));
  return screen.rem != 0 ? screen.data->root : xcb_window_t{XCB_WINDOW_NONE};
}

struct Atoms {
  xcb_atom_t moveResize = XCB_ATOM_NONE;  // _NET_WM_MOVERESIZE
  xcb_atom_t supported = XCB_ATOM_NONE;   // _NET_SUPPORTED
};

// An atom names the same thing for the whole life of the server, so the toolkit's connection asks
// once, both names in one round trip. What the window manager supports is asked on every drag: it
// may start after the launcher, or be replaced.
const Atoms& AtomsOf(xcb_connection_t* connection) {
  static xcb_connection_t* asked = nullptr;
  static Atoms atoms;
  if (connection == asked) return atoms;
  const auto intern = [&](const char* name) {
    return xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
  };
  const xcb_intern_atom_cookie_t moveResize = intern("_NET_WM_MOVERESIZE");
  const xcb_intern_atom_cookie_t supported = intern("_NET_SUPPORTED");
  const auto atom = [&](xcb_intern_atom_cookie_t cookie) {
    const auto reply = Own(xcb_intern_atom_reply(connection, cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  };
  atoms = {atom(moveResize), atom(supported)};
  asked = connection;
  return atoms;
}

// Whether the running window manager lists the move among what it supports.
bool MoveSupported(xcb_connection_t* connection, const Atoms& atoms) {
  if (atoms.moveResize == XCB_ATOM_NONE || atoms.supported == XCB_ATOM_NONE) return false;
  const auto reply = Own(xcb_get_property_reply(
      connection, xcb_get_property(connection, 0, Root(connection), atoms.supported, XCB_ATOM_ATOM, 0, 4096), nullptr));
  if (!reply || reply->format != 32) return false;
  const auto* listed = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
  const int count = xcb_get_property_value_length(reply.get()) / 4;
  for (int i = 0; i < count; ++i)
    if (listed[i] == atoms.moveResize) return true;
  return false;
}

constexpr std::uint32_t kMove = 8;     // _NET_WM_MOVERESIZE_MOVE
constexpr std::uint32_t kCancel = 11;  // _NET_WM_MOVERESIZE_CANCEL

void SendMoveResize(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t moveResize, NativePoint at,
                    std::uint32_t action) {
  xcb_client_message_event_t message;
  std::memset(&message, 0, sizeof message);
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = window;
  message.type = moveResize;
  message.data.data32[0] = static_cast<std::uint32_t>(at.x);
  message.data.data32[1] = static_cast<std::uint32_t>(at.y);
  message.data.data32[2] = action;
  message.data.data32[3] = 1;  // the button that holds the move
  message.data.data32[4] = 1;  // asked by an application
  xcb_send_event(connection, 0, Root(connection),
                 XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                 reinterpret_cast<const char*>(&message));
  xcb_flush(connection);
}

}  // namespace

SystemMove StartSystemMove(NativeWindow window, NativePoint press) {
  xcb_connection_t* connection = Connection();
  if (connection == nullptr) return SystemMove::ToolkitMove;
  const auto pointer =
      Own(xcb_query_pointer_reply(connection, xcb_query_pointer(connection, Root(connection)), nullptr));
  if (!pointer || (pointer->mask & XCB_BUTTON_MASK_1) == 0) return SystemMove::ButtonUp;
  const Atoms& atoms = AtomsOf(connection);
  if (!MoveSupported(connection, atoms)) return SystemMove::Unsupported;
  // The press's implicit grab is the toolkit's; the window manager needs the pointer for itself.
  xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
  SendMoveResize(connection, static_cast<xcb_window_t>(window), atoms.moveResize, press, kMove);
  return SystemMove::Started;
}

void CancelSystemMove(NativeWindow window) {
  xcb_connection_t* connection = Connection();
  if (connection == nullptr) return;
  if (const xcb_atom_t moveResize = AtomsOf(connection).moveResize; moveResize != XCB_ATOM_NONE)
    SendMoveResize(connection, static_cast<xcb_window_t>(window), moveResize, {}, kCancel);
}

}  // namespace platform
