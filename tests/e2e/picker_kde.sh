#!/usr/bin/env bash
# The screen picker on a virtual KWin (Plasma's Wayland compositor) with the desktop's own
# screenshot portal, at output scales 1 and 1.5. A picture in which every device pixel differs
# from its neighbours lies under every window one picture pixel on one device pixel; the picker is
# opened from the menu with real keys, and picks with a real pointer (KWin's fake input) and the
# arrow keys (at 1.5 onto device pixels between two logical ones) land in the palette exactly as
# the screen showed them, Pick&Save's sample shows the last, and the main window comes back; at
# scale 1 also `huebench pick` without the main window. Exits 77 (skipped) with a reason where
# such a desktop cannot be set up.
HERE=$(cd "$(dirname "$0")" && pwd)
APP_ARG=$1 FACTORY_ARG=$2
source "$HERE/picking.sh"

# The portal's backend, where the message bus would start it from.
KDE_PORTAL=$(sed -n 's/^Exec=//p' \
    /usr/share/dbus-1/services/org.freedesktop.impl.portal.desktop.kde.service 2>/dev/null)
if [ "${3:-}" != session ]; then
    for tool in kwin_wayland dbus-daemon dbus-send /usr/bin/python3 convert \
        /usr/libexec/xdg-desktop-portal "$KDE_PORTAL"; do
        command -v "$tool" >/dev/null || skip "${tool:-xdg-desktop-portal-kde} is not installed"
    done
    desktop_session picker_kde.sh wl_wire.py wl_fake_input.py wl_backdrop.py
fi
source "$HERE/lib.sh" "$@"

# KWin offers its fake input to every client, and lets any of them take screenshots (the test's
# own, of what the screen shows; the portal's backend may anyway), which it writes to TMPDIR.
export HOME=$E2E_TMP XDG_CURRENT_DESKTOP=KDE XDG_SESSION_TYPE=wayland QT_QPA_PLATFORM=wayland \
    WAYLAND_DISPLAY=wayland-huebench KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 \
    KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1 TMPDIR=$E2E_TMP XDG_DESKTOP_PORTAL_DIR=$E2E_TMP/portals
mkdir -p "$HOME/Pictures" "$XDG_DESKTOP_PORTAL_DIR" # the first where the portal saves its shots
cp /usr/share/xdg-desktop-portal/portals/kde.portal "$XDG_DESKTOP_PORTAL_DIR"/
# Debian's KWin carries a file capability that an unprivileged container refuses to execute: a
# copy has none.
cp "$(command -v kwin_wayland)" "$E2E_TMP/kwin_wayland"

# A session bus that starts no service by itself: the desktop's, from the folders of a full
# Plasma, would bring up notification daemons and other portals' backends.
bus_config() {
    cat <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>$DBUS_SESSION_BUS_ADDRESS</listen>
  <auth>EXTERNAL</auth>
  <servicedir>$at/services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
}
# The session's processes end with it, or with the test should it stop early.
started() { SESSION_PIDS+=("$1") && E2E_PIDS+=("$1"); }
session() { "$@" >>"$SESSION_LOG" 2>&1 & started $!; }
# on_kwin SCALE: a private session: a message bus, KWin with one virtual output of 1280 x 800
# logical pixels, the input device, the picture as the background, then the portal's KDE backend
# and the portal, which finds the backend already there.
on_kwin() {
    SCALE=$1 SESSION_PIDS=() POINTER_AT=""
    local at=$E2E_TMP/$1
    export XDG_RUNTIME_DIR=$at/run XDG_CONFIG_HOME=$at/config XDG_DATA_HOME=$at/share \
        XDG_CACHE_HOME=$at/cache DBUS_SESSION_BUS_ADDRESS=unix:path=$at/run/bus
    SESSION_LOG=$at/session.log KWIN_LOG=$at/kwin.log
    mkdir -p "$at/services" && mkdir -m 700 "$XDG_RUNTIME_DIR"
    bus_config >"$at/bus.conf"
    session dbus-daemon --nofork --config-file="$at/bus.conf"
    until_ok test -S "$XDG_RUNTIME_DIR/bus" || fail "no message bus"
    # Window queries print through the scripts' print(), to KWin's log.
    QT_LOGGING_RULES="js.debug=true" "$E2E_TMP/kwin_wayland" --virtual --width 1280 --height 800 \
        --scale "$SCALE" --no-lockscreen --no-global-shortcuts --socket "$WAYLAND_DISPLAY" \
        >"$KWIN_LOG" 2>&1 &
    started $!
    until_ok eval 'kwin /Scripting org.freedesktop.DBus.Introspectable.Introspect 2>/dev/null |
        grep -q loadScript' || fail "KWin did not start: $(tail -5 "$KWIN_LOG")"
    coproc INPUT { exec python3 "$HERE/wl_fake_input.py" 2>>"$SESSION_LOG"; }
    started "$INPUT_PID"
    pattern "$at/picture.png" $(awk "BEGIN { print 1280 * $SCALE, 800 * $SCALE }") 0 2
    # The picture hides the pointer, which the portal's screenshot would otherwise show.
    python3 "$HERE/wl_backdrop.py" "$at/picture.png" >"$at/backdrop" 2>>"$SESSION_LOG" &
    started $!
    until_ok grep -q '^shown' "$at/backdrop" ||
        fail "the picture was not shown: $(tail -3 "$SESSION_LOG")"
    session "$KDE_PORTAL"
    until_ok eval 'dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
        org.freedesktop.DBus.NameHasOwner string:org.freedesktop.impl.portal.desktop.kde |
        grep -q true' || skip "the portal's KDE backend did not start: $(tail -3 "$SESSION_LOG")"
    session /usr/libexec/xdg-desktop-portal
    until_ok eval 'dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
        org.freedesktop.DBus.NameHasOwner string:org.freedesktop.portal.Desktop | grep -q true' ||
        skip "the portal did not start: $(tail -3 "$SESSION_LOG")"
    until_ok eval 'dbus-send --session --print-reply --dest=org.freedesktop.portal.Desktop \
        /org/freedesktop/portal/desktop org.freedesktop.DBus.Properties.Get \
        string:org.freedesktop.portal.Screenshot string:version >/dev/null 2>&1' ||
        skip "no screenshot portal answers"
}
end_kwin() {
    kill "${SESSION_PIDS[@]}" 2>/dev/null
    wait "${SESSION_PIDS[@]}" 2>/dev/null || true
    E2E_PIDS=()
}

kwin() { dbus-send --session --print-reply --dest=org.kde.KWin "$@"; }
# The value of a JavaScript expression in KWin's scripting, e.g. over workspace.clientList().
query() {
    local name=query$SRANDOM script=$E2E_TMP/query.js
    echo "print('$name ' + ($1));" >"$script"
    kwin /Scripting org.kde.kwin.Scripting.loadScript string:"$script" string:$name >/dev/null &&
        kwin /Scripting org.kde.kwin.Scripting.start >/dev/null || fail "KWin runs no script"
    until_ok grep -q "^js: $name " "$KWIN_LOG" || fail "no answer to $1"
    kwin /Scripting org.kde.kwin.Scripting.unloadScript string:$name >/dev/null
    sed -n "s/^js: $name //p" "$KWIN_LOG"
}
windows() { query "workspace.clientList().filter(function (c) { return $1; }).length"; }
main_shown() { [ "$(windows "c.caption == '$TITLE'")" = 1 ]; }
picker_shown() { [ "$(windows "c.fullScreen")" = 1 ]; }

# Input in device pixels: the pointer goes to the top-left corner of device pixel (X, Y), in
# logical pixels that are fractional wherever the scale is (and not where it already is). KWin 5.27
# hands a window the pointer's motion in whole logical pixels, which at 1.5 reach two device
# pixels in three.
input() {
    echo "$*" >&"${INPUT[1]}" && read -r -t 5 reply <&"${INPUT[0]}" && [ "$reply" = done ] ||
        fail "no input: $(tail -3 "$SESSION_LOG")"
}
point() {
    local to
    to=$(awk "function up(v) { return v == int(v) ? v : int(v) + 1 }
        BEGIN { print up($1 * 256 / $SCALE) / 256, up($2 * 256 / $SCALE) / 256 }")
    [ "$to" = "${POINTER_AT:-}" ] || input move $to
    POINTER_AT=$to
}
click() { input button "$1"; }
key() { for k in "$@"; do input key "$k" && sleep 0.2; done; }

# A screenshot of the output in device pixels, as a PPM file; the color of its device pixel.
grab() {
    local png
    png=$(kwin /Screenshot org.kde.kwin.Screenshot.screenshotScreen int32:0 boolean:false |
        sed -n 's/^ *string "\(.*\)"$/\1/p') && [ -s "$png" ] || fail "no screenshot"
    convert "$png" -depth 8 "$1" && rm -f "$png"
}
color_in() { python3 -c "import sys
d = open(sys.argv[1], 'rb').read(); h = d.split(b'\n', 3)
at = len(d) - len(h[3]) + 3 * (int(sys.argv[3]) * int(h[1].split()[0]) + int(sys.argv[2]))
print(d[at:at + 3].hex().upper())" "$@"; }
truth() { color_in "$E2E_TMP/$SCALE/truth.ppm" "$@"; }
# Pick&Save lies in the middle of the output; its sample 36, 12 logical pixels right and below.
sample() {
    grab "$E2E_TMP/$SCALE/now.ppm"
    color_in "$E2E_TMP/$SCALE/now.ppm" \
        $(awk "BEGIN { print int((639 + 36) * $SCALE), int((399 + 12) * $SCALE) }")
}

OPEN="key alt+t Return" LEAVE="key Escape"
# at_scale SCALE PICK...: the picks in device pixels (the output has 1280 x 800 x SCALE). The
# screen first shows the picture exactly. At scale 1 also `huebench pick`.
at_scale() {
    on_kwin "$1" && shift
    grab "$E2E_TMP/$SCALE/truth.ppm"
    convert "$E2E_TMP/$SCALE/picture.png" -depth 8 "$E2E_TMP/$SCALE/picture.ppm"
    cmp -s "$E2E_TMP/$SCALE/truth.ppm" "$E2E_TMP/$SCALE/picture.ppm" ||
        fail "scale $SCALE: the screen does not show the picture pixel for pixel"
    e2e_start_app
    until_ok main_shown || fail "scale $SCALE: no main window: $(cat "$E2E_TMP/app.log")"
    [ "$(windows "c.caption == '$TITLE' && c.frameGeometry.x < 451 && c.frameGeometry.y < 201 &&
        c.frameGeometry.x + c.frameGeometry.width > 451 &&
        c.frameGeometry.y + c.frameGeometry.height > 201")" = 1 ] ||
        fail "scale $SCALE: the main window does not cover (451, 201)"
    sleep 0.5
    pick_session "scale $SCALE" "$@"
    e2e_stop_app && APP_PID=""
    [ "$SCALE" != 1 ] || STEP=1 pick_command "275 307" "601 401"
    end_kwin
}

# The second pick lies where the main window stood (logical (451, 201)), away from Pick&Save in
# the middle.
at_scale 1 "275 307 - 1" "451 201 - 1" "1000 77 - Return" "1279 799 - 1" \
    "300 220 Right,Down Return 301 221"
# Device pixels 3n + 2 lie between two logical pixels, out of the pointer's reach: the last
# three picks reach them with the keys, one device pixel a key (the toolkit draws at 2).
at_scale 1.5 "453 303 - 1" "676 301 - 1" "1500 117 - Return" "1918 1198 - 1" "0 0 - 1" \
    "450 330 Left,Up Return 449 329" "1201 901 Right space 1202 901" \
    "450 300 Right,Right Return 452 300"
echo "picker_kde: ok"
