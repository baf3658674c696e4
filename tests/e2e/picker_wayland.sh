#!/usr/bin/env bash
# The color picker on a real Wayland desktop: a headless sway with the desktop's screenshot portal
# (its wlr backend, the gtk one for Access, PipeWire), at one output of scale 1, one of scale 2,
# and a scale-2 output beside a scale-1 one. Single device pixels, pointed at from fractional
# positions by a virtual pointer, must be saved exactly as the compositor shows them (read back
# with grim), and Pick&Save must show on the screen the main window was on.
# Exits 77 (skipped) with a reason where such a desktop cannot be set up.
# With PICKER_SHOTS set to a folder, screenshots of each set-up are left there.
set -uo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
skip() { echo "SKIP: $*"; exit 77; }

if [ "${1:-}" != --session ]; then
    for tool in sway swaymsg swaybg grim wtype pipewire wireplumber dbus-daemon dbus-send \
        /usr/bin/python3 /usr/libexec/xdg-desktop-portal \
        /usr/libexec/xdg-desktop-portal-wlr /usr/libexec/xdg-desktop-portal-gtk; do
        command -v "$tool" >/dev/null || skip "$tool is not installed"
    done
    # sway refuses to run as root: there the session runs as nobody, on copies of the program,
    # its data and these scripts that nobody may read wherever the build folder lies.
    RUN=() STAGE=$HERE APP=$1 FACTORY_COPY=$2
    if [ "$(id -u)" -eq 0 ]; then
        command -v setpriv >/dev/null && id nobody >/dev/null 2>&1 || skip "no unprivileged user"
        RUN=(setpriv --reuid=nobody --regid="$(id -g nobody)" --init-groups)
        STAGE=$(mktemp -d /tmp/huebench-wayland.XXXXXX) && chmod 755 "$STAGE"
        cp "$1" "$HERE"/{picker_wayland.sh,lib.sh,wl_pointer.py} "$STAGE"/
        cp -r "$2" "$STAGE/data"
        chmod -R a+rX "$STAGE" && APP=$STAGE/$(basename "$1") FACTORY_COPY=$STAGE/data
    fi
    # The portal's wlr backend always saves its screenshot as /tmp/out.png.
    [ ! -e /tmp/out.png ] || "${RUN[@]}" test -w /tmp/out.png || skip "/tmp/out.png is not ours"
    cd / && timeout -k 5 150 "${RUN[@]}" env -i PATH=/usr/bin:/bin LANG=C.UTF-8 \
        PICKER_SHOTS="${PICKER_SHOTS:-}" ASAN_OPTIONS="${ASAN_OPTIONS:-}" \
        UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" \
        bash "$STAGE/picker_wayland.sh" --session "$APP" "$FACTORY_COPY"
    status=$?
    [ "$STAGE" = "$HERE" ] || rm -rf "$STAGE"
    exit $status
fi

shift
source "$HERE/lib.sh" "$@"
set +e
SESSION_PIDS=()
trap 'kill "${SESSION_PIDS[@]}" 2>/dev/null; e2e_cleanup' EXIT
export HOME=$E2E_TMP XDG_RUNTIME_DIR=$E2E_TMP/run XDG_CONFIG_HOME=$E2E_TMP/config \
    XDG_DATA_HOME=$E2E_TMP/share XDG_CACHE_HOME=$E2E_TMP/cache XDG_CURRENT_DESKTOP=sway \
    XDG_SESSION_TYPE=wayland XDG_DESKTOP_PORTAL_DIR=$E2E_TMP/portals QT_QPA_PLATFORM=wayland \
    WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman
mkdir -m 700 "$XDG_RUNTIME_DIR" && mkdir -p "$XDG_DESKTOP_PORTAL_DIR" \
    "$XDG_CONFIG_HOME"/{xdg-desktop-portal,xdg-desktop-portal-wlr}
# Each interface from the backend meant for it: Screenshot from wlr, Access from gtk (the portal
# of Debian 12 reads the .portal files, later ones the preferences), and no output chooser.
portal() {
    printf '[portal]\nDBusName=org.freedesktop.impl.portal.desktop.%s\nUseIn=sway;\n' "$1"
    printf 'Interfaces=org.freedesktop.impl.portal.%s;\n' "$2"
    printf 'org.freedesktop.impl.portal.%s=%s\n' "$2" "$1" >>"$PREFERRED"
} >"$XDG_DESKTOP_PORTAL_DIR/$1.portal"
PREFERRED=$XDG_CONFIG_HOME/xdg-desktop-portal/sway-portals.conf
echo '[preferred]' >"$PREFERRED"
portal wlr Screenshot
portal gtk Access
printf '[screencast]\nchooser_type=none\noutput_name=HEADLESS-1\n' \
    >"$XDG_CONFIG_HOME/xdg-desktop-portal-wlr/config"
printf 'xwayland disable\ndefault_border none\n' >"$E2E_TMP/sway.conf"

# A private session: sway, then the message bus (so that the services it starts, the portals
# among them, know the compositor), PipeWire, and a keyboard and a pointer that stay plugged in,
# so that the program's seat never loses them between two inputs.
session() { "$@" >>"$E2E_TMP/session.log" 2>&1 & SESSION_PIDS+=($!); }
# Without direct scan-out: on the headless backend, an output that shows a full-screen window's
# buffer as it is keeps showing (and screenshotting) it without the window's later repaints.
session sway -D noscanout -c "$E2E_TMP/sway.conf"
for _ in $(seq 100); do
    SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock 2>/dev/null) && break
    sleep 0.1
done
[ -n "$SWAYSOCK" ] || fail "sway did not start: $(tail -5 "$E2E_TMP/session.log")"
export SWAYSOCK WAYLAND_DISPLAY=$(cd "$XDG_RUNTIME_DIR" && ls wayland-* | grep -v lock | head -1)
export DBUS_SESSION_BUS_ADDRESS=unix:path=$XDG_RUNTIME_DIR/bus
session dbus-daemon --session --nofork --address="$DBUS_SESSION_BUS_ADDRESS"
for _ in $(seq 50); do [ -S "$XDG_RUNTIME_DIR/bus" ] && break; sleep 0.1; done
session pipewire
session wireplumber
session wtype -s 200000
coproc POINTER { exec python3 "$HERE/wl_pointer.py" 2>>"$E2E_TMP/session.log"; }
SESSION_PIDS+=("$POINTER_PID")
# Moves the pointer to (X2 / 2, Y2 / 2) in logical pixels of the layout, clicking with "click".
point() {
    echo "$1 $2 $EXTENT ${3:-}" >&"${POINTER[1]}" && read -r -t 5 reply <&"${POINTER[0]}" &&
        [ "$reply" = done ] || fail "the pointer did not move: $(tail -3 "$E2E_TMP/session.log")"
}

# The window tree from swaymsg, read by a few lines of Python.
tree() { swaymsg -t get_tree | python3 -c "import json, sys
def walk(n):
    yield n
    for c in n['nodes'] + n['floating_nodes']: yield from walk(c)
nodes = list(walk(json.load(sys.stdin)))
$1"; }
wait_tree() {
    for _ in $(seq 100); do [ "$(tree "$1")" = True ] && return 0 || sleep 0.1; done
    return 1
}
# An image of W x H device pixels in which every pixel differs from its neighbours: red counts
# x, green counts y, blue tells the outputs apart.
pattern() { python3 -c "import struct, sys, zlib
w, h, b = map(int, sys.argv[2:5])
row = bytearray(3 * w); row[0::3] = bytes(x % 256 for x in range(w)); row[2::3] = bytes([b]) * w
def line(y): row[1::3] = bytes([y % 256]) * w; return b'\0' + bytes(row)
chunk = lambda t, d: struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d))
image = zlib.compress(b''.join(line(y) for y in range(h)), 1)
header = chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0))
png = b'\x89PNG\r\n\x1a\n' + header + chunk(b'IDAT', image) + chunk(b'IEND', b'')
open(sys.argv[1], 'wb').write(png)" "$@"; }
# The color the compositor shows at logical (X2 / 2, Y2 / 2): the device pixel
# floor((position - output top-left) x scale) of that output's grim shot NAME.ppm in folder DIR.
shown() { swaymsg -t get_outputs | python3 -c "import json, math, sys
x, y = int(sys.argv[1]) / 2, int(sys.argv[2]) / 2
for o in json.load(sys.stdin):
    r = o['rect']
    if o['active'] and r['x'] <= x < r['x'] + r['width'] and r['y'] <= y < r['y'] + r['height']:
        d = open(sys.argv[3] + '/' + o['name'] + '.ppm', 'rb').read(); h = d.split(b'\n', 3)
        px, py = math.floor((x - r['x']) * o['scale']), math.floor((y - r['y']) * o['scale'])
        at = len(d) - len(h[3]) + 3 * (py * int(h[1].split()[0]) + px)
        print(d[at:at + 3].hex().upper())" "$@"; }
grab() { mkdir -p "$1"; for out in $OUTPUTS; do grim -t ppm -o "$out" "$1/$out.ppm"; done; }

outputs() { swaymsg -t get_outputs | python3 -c "import json, sys
o = [x for x in json.load(sys.stdin) if x['active']]
$1"; }

for _ in $(seq 50); do swaymsg -t get_outputs | grep -q HEADLESS-1 && break; sleep 0.1; done
dbus-send --session --print-reply --dest=org.freedesktop.portal.Desktop \
    /org/freedesktop/portal/desktop org.freedesktop.DBus.Properties.Get \
    string:org.freedesktop.portal.Screenshot string:version \
    >/dev/null 2>&1 || skip "no screenshot portal answers"
main_window_shown="print(any(n['name'] == '$TITLE' and n.get('visible') is True for n in nodes))"

# set_up NAME HOME "OUTPUT MODE SCALE X Y"... then picks "X2 Y2 [click]" in half logical pixels
# (without click, Return picks). The program starts on the output HOME.
set_up() {
    NAME=$1 HOME_OUT=$2 OUTPUTS="" && shift 2
    while [ "${1#HEADLESS}" != "$1" ]; do
        read -r out mode scale x y <<<"$1" && shift
        OUTPUTS+=" $out"
        pattern "$E2E_TMP/$out.png" ${mode/x/ } "${out#HEADLESS-}0"
        swaymsg output "$out" mode "$mode" scale "$scale" pos "$x" "$y" \
            bg "$E2E_TMP/$out.png" center >/dev/null
    done
    EXTENT=$(outputs "r = [x['rect'] for x in o]
print(2 * max(x['x'] + x['width'] for x in r), 2 * max(x['y'] + x['height'] for x in r))")
    sleep 1
    grab "$E2E_TMP/truth-$NAME"
    swaymsg focus output "$HOME_OUT" >/dev/null
    mkdir -p "$DATA" && cp -r "$FACTORY"/. "$DATA"/
    "$HUEBENCH" --data-dir "$DATA" >"$E2E_TMP/app.log" 2>&1 &
    APP_PID=$!
    wait_tree "$main_window_shown" ||
        fail "$NAME: no main window: $(cat "$E2E_TMP/app.log"; tail -15 "$E2E_TMP/session.log")"
    sleep 0.5
    BEFORE=$(stat -c %s "$DATA/mycolor.rgb")
    wtype -M alt t -m alt && sleep 0.2 && wtype -k Return # Tool > Color Picker
    overlays="sum(n.get('fullscreen_mode') == 1 and n.get('visible') is True for n in nodes)"
    wait_tree "print($overlays == $(wc -w <<<"$OUTPUTS"))" ||
        fail "$NAME: the overlays did not appear: $(cat "$E2E_TMP/app.log")"
    sleep 1
    WANT=""
    for pick in "$@"; do
        read -r x2 y2 how <<<"$pick"
        point "$x2" "$y2" "$how"
        [ -z "$how" ] && wtype -k Return
        WANT+=$(shown "$x2" "$y2" "$E2E_TMP/truth-$NAME")
    done
    sleep 0.3
    # Pick&Save lies in the middle of the home screen, its sample showing the last color.
    grab "$E2E_TMP/now-$NAME"
    [ -z "${PICKER_SHOTS:-}" ] || grim "$PICKER_SHOTS/picker-wayland-$NAME.png"
    read -r x y <<<"$(outputs "r = [x for x in o if x['name'] == '$HOME_OUT'][0]['rect']
print(2 * (r['x'] + (r['width'] - 1) // 2 + 36), 2 * (r['y'] + (r['height'] - 1) // 2 + 12))")"
    sample=$(shown "$x" "$y" "$E2E_TMP/now-$NAME")
    [ "$sample" = "${WANT: -6}" ] || fail "$NAME: Pick&Save shows $sample, not ${WANT: -6}"
    wtype -k Escape
    wait_tree "$main_window_shown" || fail "$NAME: the main window did not come back"
    GOT=$(tail -c +$((BEFORE + 1)) "$DATA/mycolor.rgb")
    [ "$GOT" = "$WANT" ] || fail "$NAME: mycolor.rgb gained '$GOT', expected '$WANT'"
    kill "$APP_PID" && wait "$APP_PID" 2>/dev/null
    rm -rf "$DATA"
    echo "$NAME: ok"
}

set_up scale1 HEADLESS-1 "HEADLESS-1 1280x800 1 0 0" "275 307 click" "601 401 click" \
    "2001 155" "2558 1598 click"
set_up scale2 HEADLESS-1 "HEADLESS-1 1600x1200 2 0 0" "275 307 click" "601 401 click" \
    "1403 101" "1598 1198 click" "41 1101 click"
swaymsg create_output >/dev/null # HEADLESS-2
set_up mixed HEADLESS-2 "HEADLESS-1 1600x1200 2 0 0" "HEADLESS-2 1024x768 1 800 0" \
    "2001 401 click" "3601 1401 click" "1403 201 click" "1599 101" "601 401 click"
echo "picker_wayland: ok"
