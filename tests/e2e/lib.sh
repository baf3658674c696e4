# Shared helpers for the end-to-end tests: a private Xvfb, a temporary data folder, the real
# program, real input (xdotool) and the real clipboard (xclip).
# Usage in a test: source lib.sh "$@"; e2e_start; ...; the trap cleans up.
set -euo pipefail

HUEBENCH=${1:?path to huebench}
FACTORY=${2:?factory data folder}
TITLE=$("$HUEBENCH" --version) # the main window's caption: name and version
E2E_TMP=$(mktemp -d /tmp/huebench-e2e.XXXXXX)
DATA="$E2E_TMP/data"
APP_PID=""
E2E_PIDS=() # helpers that live as long as the test
unset QT_QPA_PLATFORM

e2e_cleanup() {
    kill $APP_PID "${E2E_PIDS[@]}" 2>/dev/null || true
    # A desktop's document portal may leave its mount in the runtime folder: never let that
    # turn a test's own exit status (a skip among them) into a failure.
    rm -rf "$E2E_TMP" 2>/dev/null || true
}
trap e2e_cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# Runs a command every 0.1 s until it succeeds, for at most 10 s.
until_ok() {
    for _ in $(seq 100); do "$@" && return 0 || sleep 0.1; done
    return 1
}

# Starts Xvfb on a display it finds free itself (-displayfd: a display number taken by another
# server, even one in another file system root, is never ours) and exports DISPLAY.
e2e_start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$E2E_TMP/display" \
        >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_PIDS+=($!)
    for _ in $(seq 100); do
        if [ -s "$E2E_TMP/display" ]; then
            export DISPLAY=":$(head -1 "$E2E_TMP/display")"
            xdpyinfo >/dev/null 2>&1 && return 0
        fi
        kill -0 "${E2E_PIDS[-1]}" 2>/dev/null || break
        sleep 0.1
    done
    fail "no X server could be started: $(cat "$E2E_TMP/xvfb.log")"
}

# Starts the program on a fresh copy of the factory data and, on X, waits for its window.
e2e_start_app() {
    mkdir -p "$DATA"
    cp -r "$FACTORY"/. "$DATA"/
    "$HUEBENCH" --data-dir "$DATA" "$@" >"$E2E_TMP/app.log" 2>&1 &
    APP_PID=$!
    [ -n "${WAYLAND_DISPLAY:-}" ] || e2e_wait_window
}

# Ends the program and drops its data folder.
e2e_stop_app() {
    kill "$APP_PID" && wait "$APP_PID" 2>/dev/null || true
    rm -rf "$DATA"
}

# Waits for the program's main window; sets WIN, WIN_X, WIN_Y (top-left) and MENU_H (menu bar).
e2e_wait_window() {
    WIN=$(timeout 20 xdotool search --sync --onlyvisible --name "^$TITLE\$" | head -1) ||
        fail "the main window did not appear: $(cat "$E2E_TMP/app.log")"
    sleep 0.5
    eval "$(xdotool getwindowgeometry --shell "$WIN")"
    WIN_X=$X WIN_Y=$Y
    MENU_H=$((HEIGHT - 419))
    xdotool windowfocus --sync "$WIN" 2>/dev/null || true
}

e2e_start() {
    e2e_start_xvfb
    e2e_start_app "$@"
}

# Clicks at a point of the main window's client area (below the menu bar).
click_client() {
    xdotool mousemove --sync $((WIN_X + $1)) $((WIN_Y + MENU_H + $2)) click "${3:-1}"
    sleep 0.2
}

# Replaces the text of the box whose client rectangle starts at (x, y) by typing.
type_into_box() {
    click_client $(($1 + 10)) $(($2 + 9))
    xdotool key --delay 30 End shift+Home
    xdotool type --delay 30 "$3"
    sleep 0.2
}

# open_dialog TITLE KEY...: presses the keys (a menu path) and waits for the window TITLE, which
# gets the focus.
open_dialog() {
    local title=$1 dialog && shift
    xdotool key --delay 150 "$@"
    dialog=$(timeout 10 xdotool search --sync --onlyvisible --name "^$title\$" | head -1) ||
        fail "the dialog '$title' did not open"
    xdotool windowfocus --sync "$dialog" 2>/dev/null || true
    sleep 0.5
}

clipboard() { xclip -o -selection clipboard 2>/dev/null || true; }

# Waits until the clipboard holds the expected text.
expect_clipboard() {
    local got=""
    for _ in $(seq 30); do
        got=$(clipboard)
        [ "$got" = "$1" ] && return 0
        sleep 0.1
    done
    fail "clipboard holds '$got', expected '$1'"
}

# The color RRGGBB of the device pixel (x, y) of the X screen.
pixel() {
    import -window root -depth 8 -crop "1x1+$1+$2" txt:- | grep -o '#[0-9A-F]\{6\}' | tr -d '#'
}
