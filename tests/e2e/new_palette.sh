#!/usr/bin/env bash
# Creates a palette through File > New Color Palette... with real keys, adds the current color
# to it from the preview's pop-up menu, and finds the record in the palette's file.
source "$(dirname "$0")/lib.sh" "$@"
e2e_start

# File > New Color Palette..., then the name in the input dialog.
xdotool key --delay 150 alt+f n
DIALOG=$(timeout 10 xdotool search --sync --onlyvisible --name '^Add a new color palette$' | head -1) ||
    fail "the input dialog did not open"
xdotool windowfocus --sync "$DIALOG" 2>/dev/null || true
xdotool type --delay 40 "  E2E Blues "
xdotool key Return
sleep 0.5
grep -q $'^c10.rgb\r$' "$DATA/colorchart.cci" || fail "no index entry c10.rgb: $(cat -A "$DATA/colorchart.cci")"
grep -q $'^E2E Blues\r$' "$DATA/colorchart.cci" || fail "title not trimmed: $(cat -A "$DATA/colorchart.cci")"
[ -f "$DATA/c10.rgb" ] && [ ! -s "$DATA/c10.rgb" ] || fail "the new palette's file is not there, empty"

# Current color #1A2B3C through the hexadecimal boxes.
type_into_box 79 149 1A
type_into_box 79 169 2B
type_into_box 79 189 3C
xdotool key Return
sleep 0.3

# Right-click the preview: Add This Color To > the last palette, the new one (Up wraps to it).
click_client 50 50 3
xdotool key --delay 150 Down Down Down Down Right Up Return
for _ in $(seq 30); do
    [ "$(cat "$DATA/c10.rgb")" = "1A2B3C" ] && break
    sleep 0.1
done
[ "$(cat "$DATA/c10.rgb")" = "1A2B3C" ] || fail "c10.rgb holds '$(cat "$DATA/c10.rgb")', expected 1A2B3C"
# The new palette is on display, so the color shows at once in cell 0 of the grid.
sleep 0.3
PIXEL=$(import -window root -crop 1x1+$((WIN_X + 134))+$((WIN_Y + MENU_H + 35)) -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -1)
[ "$PIXEL" = "#1A2B3C" ] || fail "cell 0 shows $PIXEL, expected #1A2B3C"
[ -n "${E2E_SHOT:-}" ] && screenshot "$E2E_SHOT"
echo "new_palette: ok"
