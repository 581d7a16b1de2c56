"""A client that keeps its bus connection: creates one Application object on
org.vantrep.VantRep, prints its path, and stays on the bus until it is
killed. Leaving the bus releases the object.

usage: hold_application.py
"""
import signal

from gi.repository import Gio, GLib

bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
reply = bus.call_sync("org.vantrep.VantRep", "/org/vantrep/VantRep", "org.vantrep.VantRep.Factory",
                      "CreateApplication", None, GLib.VariantType("(o)"), Gio.DBusCallFlags.NONE, 10000, None)
print(reply.unpack()[0], flush=True)
signal.pause()
