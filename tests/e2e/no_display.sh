#!/usr/bin/env bash
# Without a display, or with one that nothing answers at, the window cannot start: one line on
# standard error, exit status 1, no core dump; a command still runs.
source "$(dirname "$0")/lib.sh" "$@"

LINE='huebench: cannot open a display (set DISPLAY or WAYLAND_DISPLAY), commands such as `huebench convert` work without one'
mkdir -p "$DATA" && cp -r "$FACTORY"/. "$DATA"/
HUEBENCH=$(realpath "$HUEBENCH")
cd "$E2E_TMP" # a core file, were one written, would land here
for display in "" ":$((9000 + RANDOM % 900))"; do
    status=0
    env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY="$display" \
        "$HUEBENCH" --data-dir "$DATA" >"$E2E_TMP/out" 2>"$E2E_TMP/err" || status=$?
    [ "$status" = 1 ] || fail "DISPLAY='$display': exit status $status, expected 1"
    [ ! -s "$E2E_TMP/out" ] || fail "DISPLAY='$display': printed '$(cat "$E2E_TMP/out")'"
    [ "$(cat "$E2E_TMP/err")" = "$LINE" ] || fail "DISPLAY='$display': said '$(cat "$E2E_TMP/err")'"
done
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$HUEBENCH" convert red)" = "#FF0000" ] ||
    fail "convert did not run without a display"
echo "no_display: ok"
