#!/usr/bin/python3
"""Shows a picture as the desktop's background (a zwlr_layer_shell_v1 surface of the background
layer, under every window) over the whole of the one output, one picture pixel on one device
pixel: the picture has the output's size in device pixels, and wp_viewporter lays it over the
output's logical size, whatever the scale. Prints "shown" once the compositor has drawn it, then
stays until killed. Reads the PNG pictures of `pattern` (8-bit RGB, unfiltered lines)."""
import os
import struct
import sys
import zlib

from wl_wire import Connection, string


def read_png(path):
    data = open(path, "rb").read()
    at, idat, size = 8, b"", None
    while at < len(data):
        length, kind = struct.unpack_from(">I4s", data, at)
        chunk = data[at + 8 : at + 8 + length]
        if kind == b"IHDR":
            size = struct.unpack_from(">IIBBBBB", chunk)
            if size[2:] != (8, 2, 0, 0, 0):
                sys.exit("not an 8-bit RGB picture: " + path)
        elif kind == b"IDAT":
            idat += chunk
        at += 12 + length
    width, height = size[:2]
    raw = zlib.decompress(idat)
    stride = 1 + 3 * width
    if any(raw[y * stride] != 0 for y in range(height)):
        sys.exit("filtered lines are not read: " + path)
    rgb = b"".join(raw[y * stride + 1 : (y + 1) * stride] for y in range(height))
    pixels = bytearray(4 * width * height)  # wl_shm xrgb8888: B, G, R, X in memory
    pixels[0::4], pixels[1::4], pixels[2::4] = rgb[2::3], rgb[1::3], rgb[0::3]
    return width, height, pixels


width, height, pixels = read_png(sys.argv[1])
wl = Connection()
compositor = wl.bind("wl_compositor", 4)
shm = wl.bind("wl_shm", 1)
shell = wl.bind("zwlr_layer_shell_v1", 3)
viewporter = wl.bind("wp_viewporter", 1)
surface = wl.new_id()
wl.send(compositor, 0, struct.pack("<I", surface))  # create_surface
layer = wl.new_id()
# get_layer_surface(on the compositor's choice of output, background layer), anchored to all
# edges, ignoring the zones of panels.
wl.send(shell, 0, struct.pack("<IIII", layer, surface, 0, 0) + string("backdrop"))
wl.send(layer, 1, struct.pack("<I", 15))  # set_anchor: top, bottom, left, right
wl.send(layer, 2, struct.pack("<i", -1))  # set_exclusive_zone
wl.send(surface, 6)  # commit, for the first configure
configured = []


def on_layer(opcode, body):
    if opcode == 0:  # configure(serial, width, height)
        configured.append(struct.unpack_from("<III", body))
        wl.send(layer, 6, body[:4])  # ack_configure
    elif opcode == 1:  # closed
        sys.exit("the backdrop was closed")


wl.handlers[layer] = on_layer
while not configured:
    wl.dispatch()
_, logical_width, logical_height = configured[-1]
viewport = wl.new_id()
wl.send(viewporter, 1, struct.pack("<II", viewport, surface))  # get_viewport
wl.send(viewport, 2, struct.pack("<ii", logical_width, logical_height))  # set_destination
memory = os.memfd_create("backdrop")
os.write(memory, pixels)
pool, buffer = wl.new_id(), wl.new_id()
wl.send(shm, 0, struct.pack("<II", pool, len(pixels)), fds=[memory])  # create_pool
wl.send(pool, 0, struct.pack("<IiiiiI", buffer, 0, width, height, 4 * width, 1))  # xrgb8888
wl.send(surface, 1, struct.pack("<Iii", buffer, 0, 0))  # attach
wl.send(surface, 9, struct.pack("<iiii", 0, 0, width, height))  # damage_buffer
frame = wl.new_id()
wl.send(surface, 3, struct.pack("<I", frame))  # frame: done once drawn
wl.send(surface, 6)  # commit
drawn = []
wl.handlers[frame] = lambda opcode, body: drawn.append(True)
while not drawn:
    wl.dispatch()
# No pointer image over the picture: a screenshot shows the picture where the pointer rests.
seat, pointer = wl.bind("wl_seat", 1), []


def on_seat(opcode, body):
    if opcode == 0 and struct.unpack("<I", body)[0] & 1 and not pointer:  # capabilities: pointer
        pointer.append(wl.new_id())
        wl.send(seat, 0, struct.pack("<I", pointer[0]))  # get_pointer
        wl.handlers[pointer[0]] = on_pointer


def on_pointer(opcode, body):
    if opcode == 0:  # enter(serial, ...): set_cursor(serial, no surface)
        wl.send(pointer[0], 0, body[:4] + struct.pack("<Iii", 0, 0, 0))


wl.handlers[seat] = on_seat
wl.roundtrip()
print("shown %dx%d on %dx%d" % (width, height, logical_width, logical_height), flush=True)
while True:  # later configures are acknowledged by the handler; the picture stays
    wl.dispatch()
