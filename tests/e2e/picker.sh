#!/usr/bin/env bash
# The screen picker with the real pointer and keys, at QT_SCALE_FACTOR 1, 1.5 and 2: single pixels
# at odd device coordinates (one where the main window stood), arrow keys, Enter and Space, a
# 3 x 3 average, and exactly those records in the palette that "Save To:" showed, which the arrow
# keys never change. At scale 1 the picker starts from the toolbar, hides the window, empties the
# clipboard, saves into a second palette chosen in the real drop-down and stops with Stop, and the
# grid then shows the new colors. Last, a Wayland session without a screenshot service gets a
# message and its window back. With PICKER_SHOTS set to a folder, loupe screenshots are left there.
source "$(dirname "$0")/lib.sh" "$@"
unset WAYLAND_DISPLAY
export XDG_SESSION_TYPE=x11
# The picker keeps its zoom and sample size in the user's settings: never the real user's.
export XDG_CONFIG_HOME="$E2E_TMP/config"
e2e_start_xvfb

SWATCH_PID=""
trap '[ -n "$SWATCH_PID" ] && kill "$SWATCH_PID" 2>/dev/null; e2e_cleanup' EXIT
convert -size 1280x1024 pattern:checkerboard -fill '#4060A0' -draw 'rectangle 0,0 60,60' \
    -fill '#123456' -draw 'point 137,153' \
    -fill '#C0FFEE' -draw 'point 301,221' \
    -fill '#FACADE' -draw 'point 511,401' \
    -fill '#0BB0E5' -draw 'point 651,651' \
    -fill '#FFFFFF' -draw 'rectangle 900,150 902,152' -fill '#000000' -draw 'point 901,151' \
    "$E2E_TMP/pixels.png"
display -geometry +0+0 -borderwidth 0 -title pixels "$E2E_TMP/pixels.png" &
SWATCH_PID=$!
timeout 20 xdotool search --sync --onlyvisible --name '^pixels$' >/dev/null ||
    fail "the pixel window did not appear"

pixel() { import -window root -depth 8 -crop "1x1+$1+$2" txt:- | tail -1 | grep -o '#[0-9A-F]\{6\}'; }
shot() { [ -z "${PICKER_SHOTS:-}" ] || screenshot "$PICKER_SHOTS/$1.png"; }
added() { tail -c +$(($2 + 1)) "$DATA/$1"; }

for SCALE in 1 1.5 2; do
    export QT_SCALE_FACTOR=$SCALE
    e2e_start_app
    # The main window covers (651, 651); the picker must see the pixel there, not the window.
    [ "$WIN_X" -lt 651 ] && [ "$WIN_Y" -lt 651 ] || fail "the window does not cover (651, 651)"
    BEFORE_MY=$(stat -c %s "$DATA/mycolor.rgb") BEFORE_C1=$(stat -c %s "$DATA/c1.rgb")
    if [ "$SCALE" = 1 ]; then
        echo -n "held by the user" | xclip -selection clipboard
        expect_clipboard "held by the user"
        click_client 16 12 # toolbar "pickcolor"
    else
        xdotool key --delay 150 alt+t Return # Tool > Color Picker
    fi
    PICK=$(timeout 20 xdotool search --sync --onlyvisible --name '^Pick&Save$' | head -1) ||
        fail "Pick&Save did not appear at $SCALE: $(cat "$E2E_TMP/app.log")"
    sleep 0.5
    xdotool search --onlyvisible --name "^$TITLE\$" >/dev/null && fail "the main window is shown"
    [ "$SCALE" != 1 ] || [ -z "$(clipboard)" ] || fail "the clipboard was not emptied"
    eval "$(xdotool getwindowgeometry --shell "$PICK")"
    PICK_X=$X PICK_Y=$Y
    # The middle of the sample box, in device pixels.
    SAMPLE_X=$(awk "BEGIN { print int($X + 141 * $SCALE) }")
    SAMPLE_Y=$(awk "BEGIN { print int($Y + 49 * $SCALE) }")
    expect_sample() {
        local shown
        shown=$(pixel "$SAMPLE_X" "$SAMPLE_Y")
        [ "$shown" = "$1" ] || fail "at $SCALE, $2: Pick&Save shows $shown, expected $1"
    }

    xdotool mousemove --sync 137 153
    sleep 0.3
    expect_sample '#123456' "pointer at (137, 153)"
    shot "loupe-8x-$SCALE"
    xdotool click 1
    xdotool mousemove --sync 651 651
    sleep 0.3
    expect_sample '#0BB0E5' "where the main window stood"
    xdotool click 3
    # Arrow keys: one device pixel each, Shift ten.
    xdotool mousemove --sync 300 220
    sleep 0.2
    xdotool key --delay 80 Right Down
    sleep 0.2
    expect_sample '#C0FFEE' "two arrow keys from (300, 220)"
    xdotool key Return
    xdotool mousemove --sync 500 402
    sleep 0.2
    xdotool key --delay 80 Up shift+Right Right
    sleep 0.2
    expect_sample '#FACADE' "arrow keys from (500, 402)"
    xdotool key space
    # 3 x 3 around a black pixel in white: 8 x 255 / 9 = 226.7, rounded to E3.
    xdotool key 3
    xdotool mousemove --sync 901 151
    sleep 0.3
    expect_sample '#E3E3E3' "3 x 3 at (901, 151)"
    xdotool click 1
    xdotool key 1
    if [ -n "${PICKER_SHOTS:-}" ]; then
        for _ in 1 2 3 4; do xdotool click 4; sleep 0.2; done # 8x, 12x, 16x, 24x, 32x
        xdotool mousemove --sync 137 153
        sleep 0.3
        shot "loupe-32x-$SCALE"
        xdotool mousemove --sync 1275 500
        sleep 0.3
        shot "loupe-32x-edge-$SCALE"
        for _ in 1 2 3 4; do xdotool click 5; sleep 0.2; done
        xdotool mousemove --sync 1278 1020
        sleep 0.3
        shot "loupe-8x-corner-$SCALE"
    fi
    if [ "$SCALE" = 1 ]; then
        # "Save To:" the second palette, through the real drop-down, then Stop.
        xdotool mousemove --sync $((PICK_X + 140)) $((PICK_Y + 12)) click 1
        sleep 0.4
        xdotool key Down Return
        sleep 0.3
        xdotool mousemove --sync 137 153 click 1
        xdotool mousemove --sync $((PICK_X + 36)) $((PICK_Y + 60)) click 1
    else
        xdotool key Escape
    fi
    timeout 10 xdotool search --sync --onlyvisible --name "^$TITLE\$" >/dev/null ||
        fail "the main window did not come back at $SCALE"
    xdotool search --onlyvisible --name '^Pick&Save$' >/dev/null && fail "Pick&Save is still shown"

    GOT=$(added mycolor.rgb "$BEFORE_MY")
    [ "$GOT" = "1234560BB0E5C0FFEEFACADEE3E3E3" ] || fail "at $SCALE mycolor.rgb gained '$GOT'"
    if [ "$SCALE" = 1 ]; then
        [ "$(added c1.rgb "$BEFORE_C1")" = "123456" ] || fail "c1.rgb gained '$(added c1.rgb "$BEFORE_C1")'"
        # The window shows page 1 of "mycolor.rgb", newest first, down the first column.
        sleep 0.3
        cell=0
        for expected in '#E3E3E3' '#FACADE' '#C0FFEE'; do
            shown=$(pixel $((WIN_X + 134)) $((WIN_Y + MENU_H + 35 + cell * 15)))
            [ "$shown" = "$expected" ] || fail "cell $cell shows $shown, not $expected"
            cell=$((cell + 1))
        done
    fi
    kill "$APP_PID" && wait "$APP_PID" 2>/dev/null || true
    rm -rf "$DATA"
done

# A Wayland session without a reachable screenshot service: a message, and the window comes back.
unset QT_SCALE_FACTOR
XDG_SESSION_TYPE=wayland DBUS_SESSION_BUS_ADDRESS="unix:path=$E2E_TMP/no-bus" e2e_start_app
xdotool key --delay 150 alt+t Return # Tool > Color Picker
BOX=$(timeout 20 xdotool search --sync --onlyvisible --name '^Hue Bench$' | head -1) ||
    fail "no message about the screen capture"
xdotool search --onlyvisible --name "^$TITLE\$" >/dev/null || fail "the main window is hidden"
xdotool search --onlyvisible --name '^Pick&Save$' >/dev/null && fail "the picker started anyway"
xdotool windowfocus --sync "$BOX" key Return
echo "picker: ok"
