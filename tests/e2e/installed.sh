#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the installed program as a new user
# would: a fresh home, no data folder named. The first start seeds the per-user data folder
# from the factory data; a palette made through File > New Color Palette survives exiting and
# starting again (that later starts keep the user's files is tested on the seeding itself).
# Usage: installed.sh HUEBENCH FACTORY BUILD_DIR
source "$(dirname "$0")/lib.sh" "$1" "$2"
BUILD=${3:?build folder}

PREFIX="$E2E_TMP/prefix"
cmake --install "$BUILD" --prefix "$PREFIX" >"$E2E_TMP/install.log" 2>&1 ||
    fail "cmake --install: $(cat "$E2E_TMP/install.log")"
INSTALLED="$PREFIX/bin/huebench"
INSTALLED_FACTORY="$PREFIX/share/huebench"
[ -f "$INSTALLED_FACTORY/colorchart.cci" ] || fail "no factory data in $INSTALLED_FACTORY"
[ ! -e "$PREFIX/bin/colorchart.cci" ] || fail "data files beside the installed program"

export HOME="$E2E_TMP/home"
export XDG_RUNTIME_DIR="$E2E_TMP/runtime"
mkdir -m 700 -p "$HOME" "$XDG_RUNTIME_DIR"
unset XDG_DATA_HOME XDG_CONFIG_HOME HUEBENCH_DATA_DIR QT_QPA_PLATFORM
USER_DATA="$HOME/.local/share/huebench/huebench"

[ "$("$INSTALLED" --print-data-dir)" = "$USER_DATA" ] ||
    fail "--print-data-dir: $("$INSTALLED" --print-data-dir)"
[ ! -e "$USER_DATA" ] || fail "--print-data-dir created the data folder"

e2e_start_xvfb

# With a display, an unknown option is refused after the toolkit took its own options.
status=0
"$INSTALLED" -platform xcb --no-such-option >/dev/null 2>"$E2E_TMP/err" || status=$?
[ "$status" = 2 ] || fail "an unknown option exits with $status, not 2"
grep -q "unknown option '--no-such-option'" "$E2E_TMP/err" || fail "unclear: $(cat "$E2E_TMP/err")"

# Starts the installed program with the arguments given and waits for its main window.
start_installed() {
    "$INSTALLED" "$@" >"$E2E_TMP/app.log" 2>&1 &
    APP_PID=$!
    e2e_wait_window
}

# A data folder named on the command line is made, in an existing parent, and filled from the
# factory data; one that cannot be made is one message and exit status 2, with or without a window.
status=0
"$INSTALLED" --data-dir "$E2E_TMP/no/such" --print-data-dir >/dev/null 2>"$E2E_TMP/err" || status=$?
[ "$status" = 2 ] && [ "$(wc -l <"$E2E_TMP/err")" = 1 ] || fail "--print-data-dir: $status"
"$INSTALLED" --data-dir "$E2E_TMP/no/such" >/dev/null 2>&1 &
BOX_PID=$!
BOX=$(timeout 20 xdotool search --sync --onlyvisible --name '^Hue Bench$' | head -1) ||
    fail "no message for a data folder that cannot be made"
xdotool windowfocus --sync "$BOX" key Return
status=0
wait $BOX_PID || status=$?
[ "$status" = 2 ] && [ ! -e "$E2E_TMP/no" ] || fail "a folder that cannot be made: exit $status"
start_installed --data-dir "$E2E_TMP/named"
cmp "$INSTALLED_FACTORY/mycolor.rgb" "$E2E_TMP/named/mycolor.rgb" || fail "named folder not filled"
kill $APP_PID && wait $APP_PID 2>/dev/null || true

# File > Exit, then waits for the program to end with status 0.
exit_by_menu() {
    xdotool windowfocus --sync "$WIN" 2>/dev/null || true
    xdotool key --delay 150 alt+f x
    for _ in $(seq 100); do
        kill -0 "$APP_PID" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$APP_PID" 2>/dev/null && fail "File > Exit did not end the program"
    local status=0
    wait "$APP_PID" || status=$?
    APP_PID=""
    [ "$status" = 0 ] || fail "the program exited with status $status: $(cat "$E2E_TMP/app.log")"
}

# Waits until a file holds a line.
expect_line() {
    for _ in $(seq 50); do
        grep -qxF "$2" <(tr -d '\r' <"$1" 2>/dev/null) && return 0
        sleep 0.1
    done
    fail "$1 lacks the line '$2'"
}

# First start: the per-user folder is seeded with every factory file.
start_installed
for f in "$INSTALLED_FACTORY"/*; do
    cmp -s "$f" "$USER_DATA/$(basename "$f")" || fail "$(basename "$f") was not seeded"
done
[ -f "$USER_DATA/recent.rgb" ] || fail "no recent.rgb in the per-user folder"
newest=$(tail -c 6 "$USER_DATA/mycolor.rgb" | tr a-f A-F)
shown=$(pixel $((WIN_X + 134)) $((WIN_Y + MENU_H + 35))) # the newest record
[ "$shown" = "$newest" ] || fail "the first cell shows $shown, not My Colors' newest $newest"

# File > New Color Palette..., a name, Enter.
xdotool key --delay 150 alt+f n
timeout 10 xdotool search --sync --onlyvisible --name '^Add a new color palette$' >/dev/null ||
    fail "the input dialog did not appear"
sleep 0.3
xdotool type --delay 30 "Installed Palette"
xdotool key Return
expect_line "$USER_DATA/colorchart.cci" "Installed Palette"
exit_by_menu
[ ! -e "$USER_DATA/recent.rgb" ] || fail "recent.rgb outlived the run"

# The second start keeps the new palette.
start_installed
expect_line "$USER_DATA/colorchart.cci" "Installed Palette"
exit_by_menu
grep -c "Installed Palette" <(tr -d '\r' <"$USER_DATA/colorchart.cci") | grep -qx 1 ||
    fail "the new palette is listed more than once"
echo "installed: ok"
