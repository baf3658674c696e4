#!/usr/bin/env bash
# The screen picker with a real pointer and real keys, on X (Xvfb at QT_SCALE_FACTOR 1, 1.5 and
# 2) or, given "wayland", on a headless sway with the desktop's screenshot portal (its wlr
# backend, the gtk one for Access, PipeWire) at outputs of scale 1, 2, and 2 beside 1. Over a
# picture in which every device pixel differs from its neighbours, the main window hides, the
# picks (device pixels pointed at from odd or fractional positions, one where the main window
# stood, moved by arrow keys, a 3 x 3 average) land in the palette exactly as the screen showed
# them, Pick&Save's sample shows the last, and the main window comes back. Wayland exits 77
# (skipped) with a reason where such a desktop cannot be set up.
HERE=$(cd "$(dirname "$0")" && pwd)
MODE=${3:-x11} APP_ARG=$1 FACTORY_ARG=$2
source "$HERE/picking.sh"

if [ "$MODE" = wayland ]; then
    for tool in sway swaymsg swaybg grim wtype pipewire wireplumber dbus-daemon dbus-send \
        /usr/bin/python3 /usr/libexec/xdg-desktop-portal \
        /usr/libexec/xdg-desktop-portal-wlr /usr/libexec/xdg-desktop-portal-gtk; do
        command -v "$tool" >/dev/null || skip "$tool is not installed"
    done
    # The portal's wlr backend always saves its screenshot as /tmp/out.png.
    [ ! -e /tmp/out.png ] || as_session_user test -w /tmp/out.png || skip "/tmp/out.png is not ours"
    desktop_session picker.sh wl_pointer.py
fi
source "$HERE/lib.sh" "$@"

if [ "$MODE" = x11 ]; then
    unset WAYLAND_DISPLAY
    export XDG_SESSION_TYPE=x11
    e2e_start_xvfb
    pattern "$E2E_TMP/picture.png" 1280 1024 0 2
    convert "$E2E_TMP/picture.png" -fill white -draw 'rectangle 900,150 902,152' \
        -fill black -draw 'point 901,151' "$E2E_TMP/picture.png"
    display -geometry +0+0 -borderwidth 0 -title picture "$E2E_TMP/picture.png" &
    E2E_PIDS+=($!)
    timeout 20 xdotool search --sync --onlyvisible --name '^picture$' >/dev/null ||
        fail "the picture did not appear"
    key() { xdotool key --delay 80 "$@"; }
    point() { xdotool mousemove --sync "$1" "$2"; }
    click() { xdotool click "$1"; }
    truth() { printf '%02X%02X00' $(($1 * $1 % 256)) $(($2 * $2 % 256)); }
    shown() { xdotool search --onlyvisible --name "^$1\$" >/dev/null; }
    main_shown() { shown "$TITLE"; }
    picker_shown() { shown 'Pick&Save'; }
    pick_window() {
        eval "$(xdotool search --onlyvisible --name '^Pick&Save$' getwindowgeometry --shell)"
    }
    sample() {
        pick_window
        pixel $(awk "BEGIN { print int($X + 141 * $SCALE), int($Y + 49 * $SCALE) }")
    }
    # The toolbar button empties the clipboard; "Save To:" a second palette through the real
    # drop-down, one pick of one pixel, and Stop.
    from_toolbar() {
        echo -n "held by the user" | xclip -selection clipboard
        expect_clipboard "held by the user"
        click_client 16 12
        until_ok picker_shown && [ -z "$(clipboard)" ] || fail "the clipboard was not emptied"
    }
    save_to_second_and_stop() {
        key 1
        pick_window
        xdotool mousemove --sync $((X + 140)) $((Y + 12)) click 1
        sleep 0.4
        key Down Return
        sleep 0.3
        xdotool mousemove --sync 137 153 click 1 mousemove --sync $((X + 36)) $((Y + 60)) click 1
    }
    for SCALE in 1 1.5 2; do
        export QT_SCALE_FACTOR=$SCALE XDG_CONFIG_HOME=$E2E_TMP/config-$SCALE
        e2e_start_app
        [ "$WIN_X" -lt 651 ] && [ "$WIN_Y" -lt 651 ] || fail "the window does not cover (651, 651)"
        OPEN="key alt+t Return" LEAVE="key Escape" C1=$(stat -c %s "$DATA/c1.rgb")
        [ "$SCALE" != 1 ] || OPEN=from_toolbar LEAVE=save_to_second_and_stop
        # Arrow keys move one device pixel, Shift ten; 3 x 3 around black in white: 8 x 255 / 9.
        pick_session "scale $SCALE" "137 153 - 1" "651 651 - 3" \
            "300 220 Right,Down Return 301 221" "500 402 Up,shift+Right,Right space 511 401" \
            "901 151 3 1 =E3E3E3"
        if [ "$SCALE" = 1 ]; then
            got=$(tail -c +$((C1 + 1)) "$DATA/c1.rgb")
            [ "$got" = "$(truth 137 153)" ] || fail "c1.rgb gained '$got'"
            # The window shows "mycolor.rgb" newest first, down the first column.
            for cell in 0 1 2; do
                got=$(pixel $((WIN_X + 134)) $((WIN_Y + MENU_H + 35 + cell * 15)))
                [ "$got" = "${WANT: -$((6 * cell + 6)):6}" ] || fail "cell $cell shows $got"
            done
        fi
        e2e_stop_app
    done

    # A Wayland session without a reachable screenshot service: a message, and the window stays.
    unset QT_SCALE_FACTOR
    XDG_SESSION_TYPE=wayland DBUS_SESSION_BUS_ADDRESS="unix:path=$E2E_TMP/no-bus" e2e_start_app
    key alt+t Return
    BOX=$(timeout 20 xdotool search --sync --onlyvisible --name '^Hue Bench$' | head -1) ||
        fail "no message about the screen capture"
    main_shown || fail "the main window is hidden"
    ! picker_shown || fail "the picker started anyway"
    xdotool windowfocus --sync "$BOX" key Return
    e2e_stop_app

    export XDG_CONFIG_HOME=$E2E_TMP/config-pick # one pixel sampled, as by default
    picker_shown() { xdotool search --onlyvisible --pid "$APP_PID" >/dev/null 2>&1; }
    STEP=1 pick_command "137 153" "300 220"
    # A reader that has gone ends the run after the first pick; an unreadable screen exits 1.
    ("$HUEBENCH" pick --to rgb | head -1 >"$E2E_TMP/first") &
    sleep 2 && point 300 220 && click 1
    until_ok test -s "$E2E_TMP/first" || fail "pick | head -1 printed nothing"
    until_ok eval '! pgrep -f "^$HUEBENCH pick --to rgb" >/dev/null' || fail "pick went on alone"
    [ "$(cat "$E2E_TMP/first")" = "rgb(144 16 0)" ] || fail "pick --to rgb: $(cat "$E2E_TMP/first")"
    XDG_SESSION_TYPE=wayland DBUS_SESSION_BUS_ADDRESS="unix:path=$E2E_TMP/no-bus" \
        "$HUEBENCH" pick 2>"$E2E_TMP/pick.err" && status=0 || status=$?
    [ "$status" = 1 ] && grep -q "screen" "$E2E_TMP/pick.err" || fail "pick without a portal: $status"
    echo "picker: ok"
    exit 0
fi

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
session() { "$@" >>"$E2E_TMP/session.log" 2>&1 & E2E_PIDS+=($!); }
# Without direct scan-out: on the headless backend, an output that shows a full-screen window's
# buffer as it is keeps showing (and screenshotting) it without the window's later repaints.
session sway -D noscanout -c "$E2E_TMP/sway.conf"
until_ok eval 'ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock >/dev/null 2>&1' ||
    fail "sway did not start: $(tail -5 "$E2E_TMP/session.log")"
export SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock)
export WAYLAND_DISPLAY=$(cd "$XDG_RUNTIME_DIR" && ls wayland-* | grep -v lock | head -1)
export DBUS_SESSION_BUS_ADDRESS=unix:path=$XDG_RUNTIME_DIR/bus
session dbus-daemon --session --nofork --address="$DBUS_SESSION_BUS_ADDRESS"
until_ok test -S "$XDG_RUNTIME_DIR/bus"
session pipewire
session wireplumber
session wtype -s 200000
coproc POINTER { exec python3 "$HERE/wl_pointer.py" 2>>"$E2E_TMP/session.log"; }
E2E_PIDS+=("$POINTER_PID")
# Moves the pointer to (X2 / 2, Y2 / 2) in logical pixels of the layout, clicking with "click".
point() {
    LAST="$1 $2"
    echo "$1 $2 $EXTENT ${3:-}" >&"${POINTER[1]}" && read -r -t 5 reply <&"${POINTER[0]}" &&
        [ "$reply" = done ] || fail "the pointer did not move: $(tail -3 "$E2E_TMP/session.log")"
}
click() { point $LAST click; }
key() {
    for k in "$@"; do
        case $k in
            *+*) wtype -M "${k%+*}" -k "${k#*+}" -m "${k%+*}" ;;
            *) wtype -k "$k" ;;
        esac
        sleep 0.2
    done
}
# The visible windows from swaymsg, and the active outputs, read by a few lines of Python.
tree() { swaymsg -t get_tree | python3 -c "import json, sys
def walk(n):
    yield n
    for c in n['nodes'] + n['floating_nodes']: yield from walk(c)
nodes = [n for n in walk(json.load(sys.stdin)) if n.get('visible') is True]
print($1)"; }
outputs() { swaymsg -t get_outputs | python3 -c "import json, sys
o = [x for x in json.load(sys.stdin) if x['active']]
$1"; }
main_shown() { [ "$(tree "any(n['name'] == '$TITLE' for n in nodes)")" = True ]; }
# One full-screen overlay per output.
picker_shown() {
    [ "$(tree "sum(n.get('fullscreen_mode') == 1 for n in nodes)")" = $(wc -w <<<"$OUTPUTS") ]
}
# The color the compositor shows at logical (X2 / 2, Y2 / 2): the device pixel
# floor((position - output top-left) x scale) of that output's grim shot in folder DIR.
shown_in() { swaymsg -t get_outputs | python3 -c "import json, math, sys
x, y = int(sys.argv[2]) / 2, int(sys.argv[3]) / 2
for o in json.load(sys.stdin):
    r = o['rect']
    if o['active'] and r['x'] <= x < r['x'] + r['width'] and r['y'] <= y < r['y'] + r['height']:
        d = open(sys.argv[1] + '/' + o['name'] + '.ppm', 'rb').read(); h = d.split(b'\n', 3)
        px, py = math.floor((x - r['x']) * o['scale']), math.floor((y - r['y']) * o['scale'])
        at = len(d) - len(h[3]) + 3 * (py * int(h[1].split()[0]) + px)
        print(d[at:at + 3].hex().upper())" "$@"; }
grab() { mkdir -p "$1"; for out in $OUTPUTS; do grim -t ppm -o "$out" "$1/$out.ppm"; done; }
truth() { shown_in "$E2E_TMP/truth-$NAME" "$@"; }
# Pick&Save lies in the middle of the home output; its sample 36, 12 right of and below that.
sample() {
    grab "$E2E_TMP/now"
    shown_in "$E2E_TMP/now" $(outputs "r = [x for x in o if x['name'] == '$HOME_OUT'][0]['rect']
print(2 * (r['x'] + (r['width'] - 1) // 2 + 36), 2 * (r['y'] + (r['height'] - 1) // 2 + 12))")
}

until_ok eval 'swaymsg -t get_outputs | grep -q HEADLESS-1'
portal_answers() {
    dbus-send --session --print-reply --dest=org.freedesktop.portal.Desktop \
        /org/freedesktop/portal/desktop org.freedesktop.DBus.Properties.Get \
        string:org.freedesktop.portal.Screenshot string:version >"$E2E_TMP/portal.out" 2>&1
}
until_ok portal_answers || skip "no screenshot portal answers: $(cat "$E2E_TMP/portal.out")"

# on_outputs NAME HOME "OUTPUT MODE SCALE X Y"... PICK...: lays out the outputs, each showing the
# picture (blue telling them apart), starts the program on HOME and picks in half logical pixels.
# The portal pictures a scale-1 output beside a scale-2 one smoothly enlarged: linear ramps
# (P = 1) come through that unchanged.
on_outputs() {
    NAME=$1 HOME_OUT=$2 OUTPUTS="" && shift 2
    while [ "${1#HEADLESS}" != "$1" ]; do
        read -r out mode scale x y <<<"$1" && shift
        OUTPUTS+=" $out"
        pattern "$E2E_TMP/$out.png" ${mode/x/ } "${out#HEADLESS-}0" 1
        swaymsg output "$out" mode "$mode" scale "$scale" pos "$x" "$y" \
            bg "$E2E_TMP/$out.png" center >/dev/null
    done
    EXTENT=$(outputs "r = [x['rect'] for x in o]
print(2 * max(x['x'] + x['width'] for x in r), 2 * max(x['y'] + x['height'] for x in r))")
    sleep 1
    grab "$E2E_TMP/truth-$NAME"
    swaymsg focus output "$HOME_OUT" >/dev/null
    e2e_start_app
    until_ok main_shown || fail "$NAME: no main window: $(cat "$E2E_TMP/app.log")"
    sleep 0.5
    pick_session "$NAME" "$@"
    e2e_stop_app
}

OPEN="key alt+t Return" LEAVE="key Escape"
on_outputs scale1 HEADLESS-1 "HEADLESS-1 1280x800 1 0 0" "275 307 - 1" "601 401 - 1" \
    "2001 155 - Return" "2558 1598 - 1"
on_outputs scale2 HEADLESS-1 "HEADLESS-1 1600x1200 2 0 0" "275 307 - 1" "601 401 - 1" \
    "1403 101 - Return" "1598 1198 - 1" "41 1101 - 1"
swaymsg create_output >/dev/null # HEADLESS-2
on_outputs mixed HEADLESS-2 "HEADLESS-1 1600x1200 2 0 0" "HEADLESS-2 1024x768 1 800 0" \
    "2001 401 - 1" "3601 1401 - 1" "1403 201 - 1" "1599 101 - Return" "601 401 - 1"
STEP=1 pick_command "601 401" "1403 201" # on the scale-2 output, where a key moves half a unit
echo "picker_wayland: ok"
