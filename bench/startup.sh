#!/usr/bin/env bash
# Start-up time, launch to first window mapped, under Xvfb: huebench beside a minimal Qt
# Widgets program of the same build, alternating, median of RUNS runs each.
# Usage: bench/startup.sh BUILD_DIR [RUNS]
set -euo pipefail
build=${1:?build folder}
runs=${2:-15}
tmp=$(mktemp -d)
for n in $(seq 150 199); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$tmp"' EXIT
export DISPLAY=":$n"
for _ in $(seq 50); do
    kill -0 $xvfb 2>/dev/null && xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done
kill -0 $xvfb 2>/dev/null || { echo "Xvfb did not start on :$n" >&2; exit 1; }
cp -r "$build"/colorchart.cci "$build"/*.rgb "$build"/set.hcs "$build"/colorset.dat "$tmp"/ 2>/dev/null

# Milliseconds from launch until a visible window with the given title exists.
measure() {
    local title=$1
    shift
    local start end pid
    start=$(date +%s%N)
    "$@" >/dev/null 2>"$tmp/stderr" &
    pid=$!
    until xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; do
        kill -0 $pid 2>/dev/null || { echo "$title: the program exited early: $(cat "$tmp/stderr")" >&2; exit 1; }
    done
    end=$(date +%s%N)
    kill $pid
    wait $pid 2>/dev/null || true
    echo $(((end - start) / 1000000))
}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

: >"$tmp/app" && : >"$tmp/min" && : >"$tmp/text"
for _ in $(seq "$runs"); do
    measure "Hue Bench 3.5" "$build/huebench" --data-dir "$tmp" >>"$tmp/app"
    measure "minimal" "$build/bench/minimal_qt_app" >>"$tmp/min"
    measure "minimal" "$build/bench/minimal_qt_app" --text >>"$tmp/text"
done
app=$(median <"$tmp/app")
min=$(median <"$tmp/min")
text=$(median <"$tmp/text")
echo "huebench start-up median: ${app} ms"
echo "minimal Qt program median: ${min} ms (with one line of text: ${text} ms)"
awk -v a="$app" -v m="$min" -v t="$text" \
    'BEGIN {printf "ratio: %.2f (against the program with text: %.2f)\n", a / m, a / t}'
