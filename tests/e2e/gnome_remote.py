#!/usr/bin/python3
"""Input, screenshots and window queries on a GNOME Shell session, through the shell's own D-Bus
interfaces. Reads one command a line and answers with its result lines, if any, then "done"; or
"error: ..." if it failed:

  point X Y        the pointer to (X, Y) in logical pixels of the monitor (fractions allowed)
  button N         press and release mouse button N (1 left, 2 middle, 3 right)
  key KEY...       press and release each key, "alt+t" with modifiers ("Return", "shift+Right")
  scale S          the monitor at scale S (the layout is logical, the framebuffer scaled)
  size             the logical size of the screen, "W H"
  shot FILE [pointer]  a screenshot of the whole screen in device pixels, without the pointer
                   unless asked
  pixel FILE X Y   the color RRGGBB of device pixel (X, Y) of the screenshot FILE
  differ SHOT PICTURE TOP  the first device pixel "X Y" at or below row TOP at which the
                   screenshot and the picture differ, "none" if they agree there
  windows          the windows, one a line: "WIDTH HEIGHT HIDDEN TITLE"

Input goes through a remote desktop session tied to a screen cast of the monitor (which needs
PipeWire); the session lives as long as this program, so the seat keeps its devices. The shell
answers its screenshot and introspection interfaces only to the desktop portal's backends (or in
a mode only its debugger can switch on): this program takes the bus name of the gtk backend,
which a GNOME session's portal does not use for anything else."""
import sys

import gi

gi.require_version("Gio", "2.0")
gi.require_version("GdkPixbuf", "2.0")
from gi.repository import GdkPixbuf, Gio, GLib  # noqa: E402

bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
ALLOWED_NAME = "org.freedesktop.impl.portal.desktop.gtk"

KEYSYMS = {
    "alt": 0xFFE9, "shift": 0xFFE1, "ctrl": 0xFFE3, "super": 0xFFEB,
    "Return": 0xFF0D, "Escape": 0xFF1B, "Tab": 0xFF09, "BackSpace": 0xFF08, "space": 0x20,
    "Left": 0xFF51, "Up": 0xFF52, "Right": 0xFF53, "Down": 0xFF54, "Home": 0xFF50, "End": 0xFF57,
}
BUTTONS = {"1": 0x110, "2": 0x112, "3": 0x111}  # BTN_LEFT, BTN_MIDDLE, BTN_RIGHT


def call(name, path, interface, method, args=None, reply=None):
    return bus.call_sync(name, path, interface, method, args, GLib.VariantType(reply) if reply
                         else None, Gio.DBusCallFlags.NONE, 20000, None)


def display_config(method, args=None, reply=None):
    return call("org.gnome.Mutter.DisplayConfig", "/org/gnome/Mutter/DisplayConfig",
                "org.gnome.Mutter.DisplayConfig", method, args, reply)


def current_state():
    return display_config("GetCurrentState", None, "(ua((ssss)a(siiddada{sv})a{sv})"
                          "a(iiduba(ssss)a{sv})a{sv})").unpack()


class Remote:
    def __init__(self):
        call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
             "RequestName", GLib.Variant("(su)", (ALLOWED_NAME, 4)), "(u)")
        self.shots = {}
        # Once, on a fresh machine, the shell left the first session's calls unanswered while
        # it was still starting; a later try gets a session of its own.
        for attempt in range(3):
            try:
                self.start()
                return
            except GLib.Error as error:
                if attempt == 2 or not error.matches(Gio.io_error_quark(),
                                                     Gio.IOErrorEnum.TIMED_OUT):
                    raise
                print("remote session, try %d: %s" % (attempt + 1, error.message),
                      file=sys.stderr, flush=True)

    def start(self):
        """A remote desktop session on a screen cast of the monitor: a new monitor configuration
        ends both."""
        connector = current_state()[1][0][0][0]
        mutter_rd = "org.gnome.Mutter.RemoteDesktop"
        self.rd = call(mutter_rd, "/org/gnome/Mutter/RemoteDesktop", mutter_rd, "CreateSession",
                       None, "(o)").unpack()[0]
        session_id = call(mutter_rd, self.rd, "org.freedesktop.DBus.Properties", "Get",
                          GLib.Variant("(ss)", (mutter_rd + ".Session", "SessionId")),
                          "(v)").unpack()[0]
        mutter_sc = "org.gnome.Mutter.ScreenCast"
        cast = call(mutter_sc, "/org/gnome/Mutter/ScreenCast", mutter_sc, "CreateSession",
                    GLib.Variant("(a{sv})", ({"remote-desktop-session-id":
                                              GLib.Variant("s", session_id)},)),
                    "(o)").unpack()[0]
        self.stream = call(mutter_sc, cast, mutter_sc + ".Session", "RecordMonitor",
                           GLib.Variant("(sa{sv})", (connector, {})), "(o)").unpack()[0]
        self.call_session("Start")
        # A new session's first key and first motion do not reach the client: spend them on a
        # lone Shift and on the middle of the screen.
        self.call_session("NotifyKeyboardKeysym", "(ub)", KEYSYMS["shift"], True)
        self.call_session("NotifyKeyboardKeysym", "(ub)", KEYSYMS["shift"], False)
        width, height = current_state()[1][0][1][0][1:3]
        self.call_session("NotifyPointerMotionAbsolute", "(sdd)", self.stream, width / 2,
                          height / 2)

    def session(self, method, signature=None, *args):
        try:
            self.call_session(method, signature, *args)
        except GLib.Error as error:
            if "does not exist" not in error.message:
                raise
            self.start()
            self.call_session(method, signature, *args)

    def call_session(self, method, signature=None, *args):
        call("org.gnome.Mutter.RemoteDesktop", self.rd, "org.gnome.Mutter.RemoteDesktop.Session",
             method, GLib.Variant(signature, args) if signature else None)

    def scale(self):
        return current_state()[2][0][2]

    def point(self, x, y):
        # The stream's coordinates are the monitor's device pixels.
        scale = self.scale()
        self.session("NotifyPointerMotionAbsolute", "(sdd)", self.stream, float(x) * scale,
                     float(y) * scale)

    def button(self, number):
        for pressed in (True, False):
            self.session("NotifyPointerButton", "(ib)", BUTTONS[number], pressed)

    def key(self, *names):
        for name in names:
            keys = [KEYSYMS.get(k, ord(k[0]) if len(k) == 1 else None) for k in name.split("+")]
            if None in keys:
                raise ValueError("unknown key " + name)
            for keysym in keys:
                self.session("NotifyKeyboardKeysym", "(ub)", keysym, True)
            for keysym in reversed(keys):
                self.session("NotifyKeyboardKeysym", "(ub)", keysym, False)

    def set_scale(self, scale):
        serial, monitors, logical, _ = current_state()
        if logical[0][2] == float(scale):
            return
        connector = monitors[0][0][0]
        mode = next(m[0] for m in monitors[0][1] if m[6].get("is-current"))
        display_config("ApplyMonitorsConfig", GLib.Variant(
            "(uua(iiduba(ssa{sv}))a{sv})",
            (serial, 1, [(0, 0, float(scale), 0, True, [(connector, mode, {})])], {})))
        # The new configuration ends the session (if not, it is ended here): a new one at once,
        # so that its devices are plugged in well before the next input.
        try:
            self.call_session("Stop")
        except GLib.Error:
            pass
        self.start()

    def size(self):
        return "%d %d" % call("org.gnome.Shell.Introspect", "/org/gnome/Shell/Introspect",
                              "org.freedesktop.DBus.Properties", "Get",
                              GLib.Variant("(ss)", ("org.gnome.Shell.Introspect", "ScreenSize")),
                              "(v)").unpack()[0]

    def shot(self, path, pointer="no"):
        ok, _ = call("org.gnome.Shell.Screenshot", "/org/gnome/Shell/Screenshot",
                     "org.gnome.Shell.Screenshot", "Screenshot",
                     GLib.Variant("(bbs)", (pointer == "pointer", False, path)), "(bs)").unpack()
        if not ok:
            raise RuntimeError("no screenshot")
        self.shots.pop(path, None)

    def pixel(self, path, x, y):
        if path not in self.shots:
            image = GdkPixbuf.Pixbuf.new_from_file(path)
            self.shots[path] = (image.get_width(), image.get_height(), image.get_pixels(),
                                image.get_n_channels(), image.get_rowstride())
        width, height, data, n, stride = self.shots[path]
        x, y = int(x), int(y)
        if not (0 <= x < width and 0 <= y < height):
            raise ValueError("(%d, %d) lies outside the screenshot" % (x, y))
        return data[y * stride + x * n:y * stride + x * n + 3].hex().upper()

    def differ(self, shot, picture, top):
        """The first device pixel (x, y) at or below row TOP at which the screenshot SHOT and the
        picture PICTURE differ, or "none"."""
        images = [GdkPixbuf.Pixbuf.new_from_file(path) for path in (shot, picture)]
        if len({(i.get_width(), i.get_height()) for i in images}) != 1:
            return "0 0"
        width = images[0].get_width()
        layouts = [(i.get_pixels(), i.get_n_channels(), i.get_rowstride()) for i in images]
        for y in range(int(top), images[0].get_height()):
            rows = [b"".join(data[y * stride + c:y * stride + n * width:n] for c in range(3))
                    for data, n, stride in layouts]
            if rows[0] != rows[1]:
                first = next(i for i in range(len(rows[0])) if rows[0][i] != rows[1][i])
                return "%d %d" % (first % width, y)
        return "none"

    def windows(self):
        found = call("org.gnome.Shell.Introspect", "/org/gnome/Shell/Introspect",
                     "org.gnome.Shell.Introspect", "GetWindows", None, "(a{ta{sv}})").unpack()[0]
        return "\n".join("%d %d %d %s" % (w["width"], w["height"], w["is-hidden"],
                                          w.get("title", "")) for w in found.values())


def main():
    remote = Remote()
    commands = {"point": remote.point, "button": remote.button, "key": remote.key,
                "scale": remote.set_scale, "size": remote.size, "shot": remote.shot,
                "pixel": remote.pixel, "differ": remote.differ, "windows": remote.windows}
    print("done", flush=True)
    for line in sys.stdin:
        command, *args = line.split()
        try:
            result = commands[command](*args)
            if result:
                print(result)
            print("done", flush=True)
        except Exception as error:  # noqa: BLE001 - reported to the test, which fails
            print("error: %s" % str(error).replace("\n", " "), flush=True)


main()
