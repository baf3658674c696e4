#!/usr/bin/python3
"""Real pointer and keyboard input of a KWin session, through its org_kde_kwin_fake_input (which
KWin offers to any client with KWIN_WAYLAND_NO_PERMISSION_CHECKS=1). Reads lines and answers
"done" once the compositor has handled them:
  move X Y          the pointer to logical (X, Y) of the output layout (fractions too)
  button N          presses and releases mouse button N (1 left, 2 middle, 3 right)
  key NAME[+NAME]   presses the keys in turn and releases them in reverse (xdotool's names)"""
import struct
import sys
import time

from wl_wire import Connection, fixed, string

# Linux input event codes of the keys the tests press.
KEYS = {"Escape": 1, "Return": 28, "space": 57, "Tab": 15, "BackSpace": 14,
        "ctrl": 29, "shift": 42, "alt": 56, "super": 125,
        "Up": 103, "Left": 105, "Right": 106, "Down": 108, "Home": 102, "End": 107}
KEYS.update({c: 2 + i for i, c in enumerate("1234567890")})
KEYS.update({c: 16 + i for i, c in enumerate("qwertyuiop")})
KEYS.update({c: 30 + i for i, c in enumerate("asdfghjkl")})
KEYS.update({c: 44 + i for i, c in enumerate("zxcvbnm")})
BUTTONS = {"1": 0x110, "2": 0x112, "3": 0x111}  # BTN_LEFT, BTN_MIDDLE, BTN_RIGHT

wl = Connection()
fake = wl.bind("org_kde_kwin_fake_input", 4)
wl.send(fake, 0, string("huebench-e2e") + string("end-to-end test input"))  # authenticate
wl.roundtrip()
for line in sys.stdin:
    verb, *args = line.split()
    if verb == "move":
        wl.send(fake, 9, fixed(float(args[0])) + fixed(float(args[1])))  # pointer_motion_absolute
    elif verb == "button":
        for state in (1, 0):
            wl.send(fake, 2, struct.pack("<II", BUTTONS[args[0]], state))
            wl.roundtrip()
            time.sleep(0.05)
    elif verb == "key":
        codes = [KEYS[name] for name in args[0].split("+")]
        for code in codes:
            wl.send(fake, 10, struct.pack("<II", code, 1))  # keyboard_key, pressed
        wl.roundtrip()
        time.sleep(0.05)
        for code in reversed(codes):
            wl.send(fake, 10, struct.pack("<II", code, 0))
    else:
        sys.exit("unknown command: " + line)
    wl.roundtrip()
    print("done", flush=True)
