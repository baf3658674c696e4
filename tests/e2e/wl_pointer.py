#!/usr/bin/python3
"""A virtual pointer (zwlr_virtual_pointer_v1) of a wlroots compositor, over the Wayland wire
protocol. Reads lines "X Y X_EXTENT Y_EXTENT [click]": moves to X / X_EXTENT, Y / Y_EXTENT of the
output layout, "click" clicks the left button there, and answers "done" once the compositor has
seen it. The device lives as long as the program, so the seat keeps a pointer."""
import os
import socket
import struct
import sys
import time

sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
sock.connect(os.path.join(os.environ["XDG_RUNTIME_DIR"], os.environ.get("WAYLAND_DISPLAY", "wayland-0")))
buffer = b""


def send(obj, opcode, body=b""):
    sock.sendall(struct.pack("<II", obj, (8 + len(body)) << 16 | opcode) + body)


def string(text):
    data = text.encode() + b"\0"
    return struct.pack("<I", len(data)) + data + b"\0" * (-len(data) % 4)


def roundtrip(callback):
    """wl_display.sync: returns the events that came before its done, as (object, opcode, body)."""
    global buffer
    send(1, 0, struct.pack("<I", callback))
    events = []
    while True:
        while len(buffer) >= 8:
            obj, word = struct.unpack_from("<II", buffer)
            size = word >> 16
            if len(buffer) < size:
                break
            event = (obj, word & 0xFFFF, buffer[8:size])
            buffer = buffer[size:]
            if obj == 1 and event[1] == 0:  # wl_display.error
                sys.exit("wayland error: %r" % event[2])
            if obj == callback:
                return events
            events.append(event)
        data = sock.recv(65536)
        if not data:
            sys.exit("the compositor closed the connection")
        buffer += data


def now():
    return int(time.monotonic() * 1000) & 0xFFFFFFFF


send(1, 1, struct.pack("<I", 2))  # wl_display.get_registry -> 2
manager = None
for obj, opcode, body in roundtrip(3):
    if obj == 2 and opcode == 0:  # wl_registry.global(name, interface, version)
        name, length = struct.unpack_from("<II", body)
        if body[8 : 8 + length - 1] == b"zwlr_virtual_pointer_manager_v1":
            manager = name
if manager is None:
    sys.exit("the compositor offers no zwlr_virtual_pointer_manager_v1")
send(2, 0, struct.pack("<I", manager) + string("zwlr_virtual_pointer_manager_v1") + struct.pack("<II", 1, 4))
send(4, 0, struct.pack("<II", 0, 5))  # create_virtual_pointer(no seat) -> 5
callback = 6
for command in sys.stdin:
    x, y, x_extent, y_extent, *click = command.split()
    send(5, 1, struct.pack("<IIIII", now(), int(x), int(y), int(x_extent), int(y_extent)))
    send(5, 4)  # frame
    for state in (1, 0) if click == ["click"] else ():  # BTN_LEFT pressed, released
        roundtrip(callback)
        callback += 1
        time.sleep(0.05)
        send(5, 2, struct.pack("<III", now(), 0x110, state))
        send(5, 4)
    roundtrip(callback)
    callback += 1
    print("done", flush=True)
