#!/usr/bin/env bash
# Opens "Check Contrast..." from the scheme's real context menu and applies the suggested fix of
# a failing row with the real pointer; the fixed color must land in the scheme item.
source "$(dirname "$0")/lib.sh" "$@"
e2e_start

# The factory scheme's active link, #FF0000 on white, reads 3.99:1; its fix is #EE0000.
FIX='#EE0000'

# Right-click on the preview rectangle; "Check Contrast..." is the seventh entry.
click_client 230 400 3
sleep 0.3
xdotool key --delay 120 Down Down Down Down Down Down Down Return
CW=$(timeout 10 xdotool search --sync --onlyvisible --name '^Contrast$' | head -1) ||
    fail "the Contrast window did not appear"
# Beside the main window, so that the preview stays reachable.
xdotool windowmove --sync "$CW" 0 0 2>/dev/null || xdotool windowmove "$CW" 0 0
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$CW")"

# The swatch is the one patch of that exact color on screen.
import -window root "$E2E_TMP/shot.png"
spot=$(convert "$E2E_TMP/shot.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage txt:- |
    grep -m1 -i " $FIX " | cut -d: -f1) || true
[ -n "$spot" ] || fail "no $FIX swatch in the Contrast window"
xdotool mousemove --sync $((X + ${spot%,*} + 2)) $((Y + ${spot#*,} + 2)) click 1
sleep 0.5

# The scheme now holds the fix as its active link.
click_client 230 400 3
sleep 0.3
xdotool key --delay 120 Down Down Down Return
expect_clipboard "<body BGCOLOR=\"#FFFFFF\" TEXT=\"#000000\" LINK=\"#0000FF\" VLINK=\"#800080\" ALINK=\"$FIX\">"
echo "contrast_fix: ok"
