#!/usr/bin/env bash
# Paints known colors on the real screen, starts the picker from the toolbar, picks pixels with
# the real pointer (one of them where the main window stood), saves into two palettes, stops, and
# finds exactly those colors as new records. Then, in a session that says it is Wayland, the
# picker must refuse with a message and give the main window back.
source "$(dirname "$0")/lib.sh" "$@"
unset WAYLAND_DISPLAY
export XDG_SESSION_TYPE=x11
e2e_start_xvfb

# Swatches on a window of our own at the top-left corner, under where the main window will be.
SWATCH_PID=""
trap '[ -n "$SWATCH_PID" ] && kill "$SWATCH_PID" 2>/dev/null; e2e_cleanup' EXIT
convert -size 1000x1000 xc:'#404040' \
    -fill '#123456' -draw 'rectangle 50,50 150,150' \
    -fill '#C0FFEE' -draw 'rectangle 600,600 700,700' \
    -fill '#FACADE' -draw 'rectangle 850,100 950,200' \
    -fill '#0BB0E5' -draw 'rectangle 100,800 200,900' "$E2E_TMP/swatches.png"
display -geometry +0+0 -borderwidth 0 -title swatches "$E2E_TMP/swatches.png" &
SWATCH_PID=$!
timeout 20 xdotool search --sync --onlyvisible --name '^swatches$' >/dev/null ||
    fail "the swatch window did not appear"

e2e_start_app
# The main window covers the swatch at (650, 650); the picker must see the swatch, not the window.
[ "$WIN_X" -lt 650 ] && [ $((WIN_X + 476)) -gt 650 ] && [ "$WIN_Y" -lt 650 ] ||
    fail "the main window does not cover (650, 650): at $WIN_X,$WIN_Y"

pixel() { import -window root -depth 8 -crop "1x1+$1+$2" txt:- | tail -1 | grep -o '#[0-9A-F]\{6\}'; }
records() { od -An -c "$DATA/$1" | tr -d ' \n'; }
tail_records() { tail -c "$2" "$DATA/$1"; }

BEFORE_MY=$(stat -c %s "$DATA/mycolor.rgb")
BEFORE_C1=$(stat -c %s "$DATA/c1.rgb")
echo -n "held by the user" | xclip -selection clipboard
expect_clipboard "held by the user"

click_client 16 12 # toolbar "pickcolor"
PICK=$(timeout 20 xdotool search --sync --onlyvisible --name '^Pick&Save$' | head -1) ||
    fail "Pick&Save did not appear: $(cat "$E2E_TMP/app.log")"
sleep 0.3
xdotool search --onlyvisible --name "^$TITLE\$" >/dev/null && fail "the main window is still shown"
[ -z "$(clipboard)" ] || fail "the clipboard was not emptied: '$(clipboard)'"
eval "$(xdotool getwindowgeometry --shell "$PICK")"
PICK_X=$X PICK_Y=$Y

# Picks with the real pointer; the sample box of Pick&Save must show the color under it.
pick_at() {
    xdotool mousemove --sync "$1" "$2"
    sleep 0.2
    local shown
    shown=$(pixel $((PICK_X + 140)) $((PICK_Y + 50)))
    [ "$shown" = "$3" ] || fail "at ($1, $2) the sample shows $shown, expected $3"
    xdotool click "${4:-1}"
    sleep 0.2
}
pick_at 100 100 '#123456'
pick_at 650 650 '#C0FFEE' 3 # where the main window stood; right button
pick_at 900 150 '#FACADE'

# "Save To:" the second palette, through the real drop-down.
xdotool mousemove --sync $((PICK_X + 140)) $((PICK_Y + 12)) click 1
sleep 0.4
xdotool key Down Return
sleep 0.3
pick_at 150 850 '#0BB0E5'

xdotool mousemove --sync $((PICK_X + 36)) $((PICK_Y + 60)) click 1 # Stop
timeout 10 xdotool search --sync --onlyvisible --name "^$TITLE\$" >/dev/null ||
    fail "the main window did not come back"
xdotool search --onlyvisible --name '^Pick&Save$' >/dev/null && fail "Pick&Save is still shown"

[ "$(stat -c %s "$DATA/mycolor.rgb")" -eq $((BEFORE_MY + 18)) ] || fail "mycolor.rgb grew wrongly"
[ "$(tail_records mycolor.rgb 18)" = "123456C0FFEEFACADE" ] ||
    fail "mycolor.rgb ends with '$(tail_records mycolor.rgb 18)'"
[ "$(stat -c %s "$DATA/c1.rgb")" -eq $((BEFORE_C1 + 6)) ] || fail "c1.rgb grew wrongly"
[ "$(tail_records c1.rgb 6)" = "0BB0E5" ] || fail "c1.rgb ends with '$(tail_records c1.rgb 6)'"
# The main window shows page 1 of "mycolor.rgb", newest first, down the first column.
sleep 0.3
cell=0
for expected in '#FACADE' '#C0FFEE' '#123456'; do
    shown=$(pixel $((WIN_X + 134)) $((WIN_Y + MENU_H + 35 + cell * 15)))
    [ "$shown" = "$expected" ] || fail "cell $cell of the first palette shows $shown, not $expected"
    cell=$((cell + 1))
done

# A Wayland session without a reachable screenshot service: a message, and the window comes back.
kill "$APP_PID" && wait "$APP_PID" 2>/dev/null || true
XDG_SESSION_TYPE=wayland DBUS_SESSION_BUS_ADDRESS="unix:path=$E2E_TMP/no-bus" e2e_start_app
xdotool key --delay 150 alt+t Return # Tool > Color Picker
BOX=$(timeout 20 xdotool search --sync --onlyvisible --name '^Hue Bench$' | head -1) ||
    fail "no message about the screen capture"
xdotool search --onlyvisible --name "^$TITLE\$" >/dev/null || fail "the main window is hidden"
xdotool search --onlyvisible --name '^Pick&Save$' >/dev/null && fail "the picker started anyway"
xdotool windowfocus --sync "$BOX" key Return
echo "picker: ok"
