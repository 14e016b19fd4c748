#!/usr/bin/python3
"""NetworkManager on a bus of the test's own, as far as the online check asks it: its State.

    network_manager.py ADDRESS STATE    answers with STATE (an NMState number)
    network_manager.py ADDRESS silent   takes the question and never answers

Prints "ready" once it owns its name on the bus at ADDRESS.
"""
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

NAME = "org.freedesktop.NetworkManager"


class Manager(dbus.service.Object):
    def __init__(self, bus, state):
        super().__init__(bus, "/org/freedesktop/NetworkManager")
        self.state = state

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v",
                         async_callbacks=("reply", "error"))
    def Get(self, interface, name, reply, error):
        if self.state == "silent":
            return  # neither reply nor error: the caller waits
        if interface == NAME and name == "State":
            reply(dbus.UInt32(int(self.state), variant_level=1))
        else:
            error(dbus.exceptions.DBusException(name, name="org.freedesktop.DBus.Error.UnknownProperty"))


dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.bus.BusConnection(sys.argv[1])
owned = dbus.service.BusName(NAME, bus)
manager = Manager(bus, sys.argv[2])
print("ready", flush=True)
GLib.MainLoop().run()
