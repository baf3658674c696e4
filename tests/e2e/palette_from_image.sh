#!/usr/bin/env bash
# Makes a palette from a real PNG through File > New Palette from Image... with real keys and the
# real file dialog: the image's largest color lands in cell 0, the others follow by area.
source "$(dirname "$0")/lib.sh" "$@"
e2e_start

PNG="$E2E_TMP/meadow.png"
# Three blocks: sea green over 60% of the pixels, gold 30%, dark red 10%.
convert -size 60x100 xc:'#2E8B57' -size 30x100 xc:'#FFD700' -size 10x100 xc:'#8B0000' +append \
    "$PNG" || fail "ImageMagick could not write the test image"

# File > New Palette from Image...: the fourth item of the File menu.
open_dialog 'New Palette from Image' alt+f Down Down Down Return
xdotool type --delay 20 "$PNG"
xdotool key Return
until_ok grep -q $'^meadow\r$' "$DATA/colorchart.cci" ||
    fail "no index entry for the image palette: $(cat -A "$DATA/colorchart.cci")"
grep -q $'^c10.rgb\r$' "$DATA/colorchart.cci" || fail "index: $(cat -A "$DATA/colorchart.cci")"
# Written last to first, so that the largest color shows in cell 0.
[ "$(cat "$DATA/c10.rgb")" = "8B0000FFD7002E8B57" ] || fail "c10.rgb holds '$(cat "$DATA/c10.rgb")'"
sleep 0.5
PIXEL=$(pixel $((WIN_X + 134)) $((WIN_Y + MENU_H + 35)))
[ "$PIXEL" = 2E8B57 ] || fail "cell 0 shows $PIXEL, expected 2E8B57"

# A file that is no image is refused with the reader's reason, and nothing is added.
printf 'not a picture' >"$E2E_TMP/fake.png"
BEFORE=$(cat "$DATA/colorchart.cci")
xdotool windowfocus --sync "$WIN" 2>/dev/null || true
open_dialog 'New Palette from Image' alt+f Down Down Down Return
xdotool type --delay 20 "$E2E_TMP/fake.png"
xdotool key Return
sleep 1 # the file dialog is gone; the message box has the same title
until_ok xdotool search --onlyvisible --name '^New Palette from Image$' >/dev/null ||
    fail "no message for an unreadable image"
sleep 0.5
[ "$(cat "$DATA/colorchart.cci")" = "$BEFORE" ] || fail "a palette was added for a broken image"
echo "palette_from_image: ok"
