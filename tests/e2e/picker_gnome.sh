#!/usr/bin/env bash
# The screen picker on a headless GNOME Shell (Wayland) with its screenshot portal, at scale 1
# and at the fractional scale 1.5 (the framebuffer scaled, the program drawn at 2 and shrunk by
# the shell). Over a picture in which every device pixel differs from its neighbours, opened from
# the menu with real keys: the main window hides, the picks (device pixels pointed at from
# fractional positions, a black pixel in white, one moved by an arrow key, a 3 x 3 average) land
# in the palette exactly as the screen showed them, Pick&Save's sample shows the last, and the
# main window comes back after Escape. Exits 77 (skipped) with a reason where such a session
# cannot be set up.
HERE=$(cd "$(dirname "$0")" && pwd)
APP_ARG=$1 FACTORY_ARG=$2
source "$HERE/picking.sh"

if [ "${3:-}" != session ]; then
    for tool in gnome-shell pipewire wireplumber dbus-daemon /usr/bin/python3 convert \
        /usr/libexec/xdg-desktop-portal /usr/libexec/xdg-desktop-portal-gnome \
        /usr/libexec/xdg-permission-store; do
        command -v "$tool" >/dev/null || skip "$tool is not installed"
    done
    /usr/bin/python3 -c 'import gi; gi.require_version("GdkPixbuf", "2.0")
from gi.repository import Gio, GdkPixbuf' 2>/dev/null || skip "python3-gi is not installed"
    desktop_session picker_gnome.sh gnome_remote.py
fi
source "$HERE/lib.sh" "$@"

export HOME=$E2E_TMP XDG_RUNTIME_DIR=$E2E_TMP/run XDG_CONFIG_HOME=$E2E_TMP/config \
    XDG_DATA_HOME=$E2E_TMP/share XDG_CACHE_HOME=$E2E_TMP/cache XDG_CURRENT_DESKTOP=GNOME \
    XDG_SESSION_TYPE=wayland XDG_DESKTOP_PORTAL_DIR=$E2E_TMP/portals QT_QPA_PLATFORM=wayland \
    WAYLAND_DISPLAY=wayland-e2e GSETTINGS_BACKEND=keyfile NO_AT_BRIDGE=1 GTK_A11Y=none \
    DBUS_SYSTEM_BUS_ADDRESS=unix:path=$E2E_TMP/run/system_bus \
    DBUS_SESSION_BUS_ADDRESS=unix:path=$E2E_TMP/run/bus
mkdir -m 700 "$XDG_RUNTIME_DIR" && mkdir -p "$XDG_DESKTOP_PORTAL_DIR" "$XDG_DATA_HOME/gnome-shell"
# Without the notification that a session without the display manager cannot lock the screen.
touch "$XDG_DATA_HOME/gnome-shell/lock-warning-shown"
pattern "$E2E_TMP/picture.png" 1920 1200 0 2
# A black pixel in a white square: a target of one device pixel, and a known 3 x 3 average.
convert "$E2E_TMP/picture.png" -fill white -draw 'rectangle 1402,151 1404,153' \
    -fill black -draw 'point 1403,152' "$E2E_TMP/picture.png"
# The picture as the background, at its size in device pixels; no animations, no screen lock;
# the framebuffer scaled for fractional scales.
mkdir -p "$XDG_CONFIG_HOME/glib-2.0/settings"
cat >"$XDG_CONFIG_HOME/glib-2.0/settings/keyfile" <<EOF
[org/gnome/desktop/background]
picture-uri='file://$E2E_TMP/picture.png'
picture-uri-dark='file://$E2E_TMP/picture.png'
picture-options='centered'
[org/gnome/desktop/interface]
enable-animations=false
[org/gnome/desktop/session]
idle-delay=uint32 0
[org/gnome/desktop/screensaver]
lock-enabled=false
[org/gnome/shell]
welcome-dialog-last-shown-version='99'
[org/gnome/mutter]
experimental-features=['scale-monitor-framebuffer']
EOF
# Screenshot from the desktop's backend, Access (which the portal wants for its question before
# a first screenshot) from the shell, and nothing else.
portal() {
    printf '[portal]\nDBusName=%s\nInterfaces=org.freedesktop.impl.portal.%s;\nUseIn=gnome\n' \
        "$2" "$3" >"$XDG_DESKTOP_PORTAL_DIR/$1.portal"
}
portal gnome org.freedesktop.impl.portal.desktop.gnome Screenshot
portal gnome-shell org.gnome.Shell.Portal Access
# The shell asks the system bus for its login session: a private one that answers nobody.
cat >"$E2E_TMP/system.conf" <<EOF
<busconfig>
  <type>system</type>
  <listen>$DBUS_SYSTEM_BUS_ADDRESS</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/><allow own="*"/><allow send_destination="*"/><allow receive_sender="*"/>
  </policy>
</busconfig>
EOF

# A private session: the buses, PipeWire (for the screen cast that input goes through), the shell
# on a virtual monitor of 1920 x 1200 device pixels, and the helper that gives it input.
session() { "$@" >>"$E2E_TMP/session.log" 2>&1 & E2E_PIDS+=($!); }
session dbus-daemon --nofork --config-file="$E2E_TMP/system.conf"
session dbus-daemon --session --nofork --address="$DBUS_SESSION_BUS_ADDRESS"
until_ok test -S "$XDG_RUNTIME_DIR/bus" && until_ok test -S "$XDG_RUNTIME_DIR/system_bus" ||
    fail "no message bus: $(tail -5 "$E2E_TMP/session.log")"
session pipewire
session wireplumber
# The shell's screen casts, which carry its remote-desktop input, need PipeWire from the start.
until_ok test -S "$XDG_RUNTIME_DIR/pipewire-0" ||
    fail "no PipeWire: $(tail -5 "$E2E_TMP/session.log")"
session gnome-shell --headless --wayland --no-x11 --wayland-display="$WAYLAND_DISPLAY" \
    --virtual-monitor 1920x1200
# The shell takes TERM for a clean shutdown, which without its buses can spin on forever: it
# gets KILL, unannounced.
SHELL_PID=$! && disown "$SHELL_PID"
# The document portal, which the bus started, unmounts its folder in the runtime folder only as
# it goes: the temporary folder goes once it has.
session_cleanup() {
    kill -KILL "$SHELL_PID" 2>/dev/null
    e2e_cleanup
    for _ in $(seq 30); do
        rm -rf "$E2E_TMP" 2>/dev/null
        [ -e "$E2E_TMP" ] || break
        sleep 0.1
    done
}
trap session_cleanup EXIT
trap 'exit 1' TERM INT # a timeout's TERM, too, ends the whole session
name_owned() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q true
}
for _ in 1 2 3; do until_ok name_owned org.gnome.Mutter.RemoteDesktop && break; done
name_owned org.gnome.Mutter.RemoteDesktop || fail "no shell: $(tail -5 "$E2E_TMP/session.log")"
coproc REMOTE { exec /usr/bin/python3 "$HERE/gnome_remote.py" 2>>"$E2E_TMP/session.log"; }
E2E_PIDS+=("$REMOTE_PID")
# remote COMMAND...: the helper's answer lines before its "done".
remote() {
    local line
    echo "$*" >&"${REMOTE[1]}"
    while read -r -t 30 line <&"${REMOTE[0]}"; do
        case $line in
            done) return 0 ;;
            error:*) echo "$*: $line" >>"$E2E_TMP/session.log" && return 1 ;;
            *) echo "$line" ;;
        esac
    done
    fail "the helper did not answer '$*': $(tail -3 "$E2E_TMP/session.log")"
}
read -r -t 90 line <&"${REMOTE[0]}" && [ "$line" = done ] ||
    fail "no remote session: $(tail -15 "$E2E_TMP/session.log")"
# The screenshot portal asks before an application's first screenshot: answered yes for those
# outside a sandbox (application id "").
store=org.freedesktop.impl.portal.PermissionStore
dbus-send --session --print-reply --dest=$store /${store//.//} $store.SetPermission \
    string:screenshot boolean:true string:screenshot string: array:string:yes >/dev/null ||
    fail "the permission could not be stored"

# Points at (X2 / 2, Y2 / 2) in logical pixels.
point() {
    remote point "$(($1 / 2)).$(($1 % 2 * 5))" "$(($2 / 2)).$(($2 % 2 * 5))" >/dev/null ||
        fail "the pointer did not move: $(tail -1 "$E2E_TMP/session.log")"
}
click() { remote button "$1" >/dev/null || fail "no click: $(tail -1 "$E2E_TMP/session.log")"; }
key() {
    for k in "$@"; do
        remote key "$k" >/dev/null || fail "no key $k: $(tail -1 "$E2E_TMP/session.log")"
        sleep 0.2
    done
}
windows() { remote windows; }
main_shown() { local w && w=$(windows) && cut -d' ' -f3- <<<"$w" | grep -qxF "0 $TITLE"; }
# The overlay covers the screen.
picker_shown() { local w && w=$(windows) && grep -q "^$(remote size) 0 " <<<"$w"; }
# The color the shell shows at (X2 / 2, Y2 / 2): the device pixel there in the screenshot FILE.
shown_in() {
    remote pixel "$1" $(awk "BEGIN { print int($2 / 2 * $SCALE), int($3 / 2 * $SCALE) }")
}
truth() { shown_in "$E2E_TMP/truth-$NAME.png" "$@"; }
# Pick&Save lies in the middle of the screen; its sample 36, 12 right of and below that.
sample() {
    local w h
    remote shot "$E2E_TMP/now.png" && read -r w h <<<"$(remote size)"
    shown_in "$E2E_TMP/now.png" $((2 * ((w - 1) / 2 + 36))) $((2 * ((h - 1) / 2 + 12)))
}
# The screen shows the picture device pixel for device pixel, below the shell's top bar.
shows_picture() {
    remote shot "$E2E_TMP/truth-$NAME.png" && [ "$(remote differ "$E2E_TMP/truth-$NAME.png" \
        "$E2E_TMP/picture.png" "$(awk "BEGIN { print int(48 * $SCALE) }")")" = none ]
}

# on_scale NAME SCALE PICK...: the monitor at SCALE, the program started, the picks made.
on_scale() {
    NAME=$1 SCALE=$2 && shift 2
    local size && size=$(awk "BEGIN { print 1920 / $SCALE, 1200 / $SCALE }")
    remote scale "$SCALE" && until_ok eval '[ "$(remote size)" = "$size" ]' ||
        fail "$NAME: the monitor did not take scale $SCALE"
    until_ok shows_picture || fail "$NAME: the screen does not show the picture"
    XDG_CONFIG_HOME=$E2E_TMP/config-$NAME e2e_start_app # the picker's options as by default
    until_ok main_shown || fail "$NAME: no main window: $(cat "$E2E_TMP/app.log")"
    sleep 0.5
    pick_session "$NAME" "$@"
    e2e_stop_app
}

key Escape # the shell starts in its overview
OPEN="key alt+t Return" LEAVE="key Escape"
# In half logical pixels. At 1.5 the device pixels 3k + 2 (206, 452, 1403) lie under fractional
# positions only; (300.5, 200.5) is device pixel (450, 300), the toolkit's (601, 401) at 2; keys
# move one device pixel each. Key 3 samples 3 x 3, key 1 one pixel again.
on_scale scale1.5 1.5 "275 307 - 1" "603 403 Right Return 604 403" "1871 203 - 1" \
    "2559 1599 - 1" "1871 203 3 space =E3E3E3" "601 401 1 1" "601 401 Right,Right Return 603 401"
on_scale scale1 1 "275 307 - 1" "601 401 - 1" "2001 155 Right Return 2003 155" \
    "3839 2399 - 1" "2807 305 - 1" "2807 305 3 space =E3E3E3"
XDG_CONFIG_HOME=$E2E_TMP/config-pick STEP=2 pick_command "601 401" "1403 201"
echo "picker_gnome: ok"
