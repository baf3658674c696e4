#!/usr/bin/env bash
# Imports a GIMP palette through File > Import Palette... with real keys and the real file dialog,
# then exports the new palette from the command line, without a display, and finds the file's
# colors in their order; then exports it through File > Export Palette... under a name typed
# without extension.
source "$(dirname "$0")/lib.sh" "$@"
e2e_start

GPL="$E2E_TMP/sunset.gpl"
printf 'GIMP Palette\r\nName: E2E Sunset\r\n#\r\n255 0 0\tRed\r\n300 0 0\r\n0 0 255\tBlue\r\n' >"$GPL"

# File > Import Palette...: the menu opens on its first item, Down moves to the second.
open_dialog 'Import Palette' alt+f Down Return
xdotool type --delay 20 "$GPL"
xdotool key Return
for _ in $(seq 50); do
    grep -q $'^E2E Sunset\r$' "$DATA/colorchart.cci" && break
    sleep 0.1
done
grep -q $'^c10.rgb\r$' "$DATA/colorchart.cci" && grep -q $'^E2E Sunset\r$' "$DATA/colorchart.cci" ||
    fail "no index entry for the import: $(cat -A "$DATA/colorchart.cci")"
# Written last to first, so that the file's first color shows in cell 0.
[ "$(cat "$DATA/c10.rgb")" = "0000FFFF0000" ] || fail "c10.rgb holds '$(cat "$DATA/c10.rgb")'"
sleep 0.5
xdotool key Return # closes the summary
sleep 0.3
PIXEL=$(pixel $((WIN_X + 134)) $((WIN_Y + MENU_H + 35)))
[ "$PIXEL" = FF0000 ] || fail "cell 0 shows $PIXEL, expected FF0000"

# The command line, beside the running window and without a display.
OUT=$(env -u DISPLAY "$HUEBENCH" --data-dir "$DATA" palette export "E2E Sunset" --format gpl) ||
    fail "palette export failed"
EXPECTED=$(printf 'GIMP Palette\nName: E2E Sunset\n#\n255   0   0\t#FF0000\n  0   0 255\t#0000FF')
[ "$OUT" = "$EXPECTED" ] || fail "palette export wrote: $OUT"
env -u DISPLAY "$HUEBENCH" --data-dir "$DATA" palette export c10.rgb --format css -o "$E2E_TMP/sunset.css" ||
    fail "palette export -o failed"
grep -q -- '--e2e-sunset-1: #ff0000;' "$E2E_TMP/sunset.css" || fail "css: $(cat "$E2E_TMP/sunset.css")"
# File > Export Palette...: a name typed without an extension, with "Design tokens" chosen as the
# type (the last entry: Tab from the name to the type list, End), lands as mytokens.json.
xdotool windowfocus --sync "$WIN" 2>/dev/null || true
open_dialog 'Export Palette' alt+f Down Down Return
xdotool key ctrl+a
xdotool type --delay 20 "$E2E_TMP/mytokens"
xdotool key --delay 200 Tab End Return
until_ok test -s "$E2E_TMP/mytokens.json" ||
    fail "no mytokens.json: $(ls "$E2E_TMP")"
grep -q '"e2e-sunset-1": {' "$E2E_TMP/mytokens.json" || fail "json: $(cat "$E2E_TMP/mytokens.json")"
[ ! -e "$E2E_TMP/mytokens" ] || fail "a file without extension was written too"
echo "palette_exchange: ok"
