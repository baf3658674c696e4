"""The Wayland wire protocol, just enough for the end-to-end tests' own clients: requests with
arguments packed by struct (file descriptors beside them), the registry's globals, and
wl_display.sync round trips that hand back the events which came before."""
import array
import os
import socket
import struct
import sys


def string(text):
    data = text.encode() + b"\0"
    return struct.pack("<I", len(data)) + data + b"\0" * (-len(data) % 4)


def fixed(value):
    """A wl_fixed (24.8) of a number."""
    return struct.pack("<i", round(value * 256))


class Connection:
    def __init__(self):
        runtime = os.environ["XDG_RUNTIME_DIR"]
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect(os.path.join(runtime, os.environ.get("WAYLAND_DISPLAY", "wayland-0")))
        self.buffer = b""
        self.next_id = 2
        self.handlers = {}  # object -> function(opcode, body) for events between round trips
        registry = self.new_id()
        self.send(1, 1, struct.pack("<I", registry))  # wl_display.get_registry
        self.registry = registry
        self.globals = {}  # interface -> (name, version)
        for obj, opcode, body in self.roundtrip():
            if obj == registry and opcode == 0:  # wl_registry.global(name, interface, version)
                name, length = struct.unpack_from("<II", body)
                interface = body[8 : 8 + length - 1].decode()
                version = struct.unpack_from("<I", body, 8 + (length + 3) // 4 * 4)[0]
                self.globals[interface] = (name, version)

    def new_id(self):
        self.next_id += 1
        return self.next_id - 1

    def send(self, obj, opcode, body=b"", fds=()):
        message = struct.pack("<II", obj, (8 + len(body)) << 16 | opcode) + body
        if fds:
            rights = [(socket.SOL_SOCKET, socket.SCM_RIGHTS, array.array("i", fds))]
            self.sock.sendmsg([message], rights)
        else:
            self.sock.sendall(message)

    def bind(self, interface, version):
        """Binds a global at the lower of version and the compositor's; returns its id."""
        if interface not in self.globals:
            sys.exit("the compositor offers no " + interface)
        name, offered = self.globals[interface]
        obj = self.new_id()
        body = string(interface) + struct.pack("<II", min(version, offered), obj)
        self.send(self.registry, 0, struct.pack("<I", name) + body)
        return obj

    def event(self):
        """The next event, as (object, opcode, body), waiting for it."""
        while True:
            if len(self.buffer) >= 8:
                obj, word = struct.unpack_from("<II", self.buffer)
                size = word >> 16
                if len(self.buffer) >= size:
                    event = (obj, word & 0xFFFF, self.buffer[8:size])
                    self.buffer = self.buffer[size:]
                    if obj == 1 and event[1] == 0:  # wl_display.error
                        sys.exit("wayland error: %r" % event[2])
                    return event
            data = self.sock.recv(65536)
            if not data:
                sys.exit("the compositor closed the connection")
            self.buffer += data

    def dispatch(self):
        """Waits for the next event and gives it to its object's handler, if it has one."""
        obj, opcode, body = self.event()
        if obj in self.handlers:
            self.handlers[obj](opcode, body)

    def roundtrip(self):
        """wl_display.sync: returns the events that came before its done, as (object, opcode,
        body), after giving each to its object's handler if it has one."""
        callback = self.new_id()
        self.send(1, 0, struct.pack("<I", callback))
        seen = []
        while True:
            obj, opcode, body = self.event()
            if obj == callback:
                return seen
            if obj in self.handlers:
                self.handlers[obj](opcode, body)
            seen.append((obj, opcode, body))
