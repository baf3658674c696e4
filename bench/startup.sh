#!/usr/bin/env bash
# Start-up time, launch to first window mapped, under Xvfb: huebench against a Qt Widgets
# program with a menu bar, a toolbar and thirty widgets showing text (comparable_qt_app, the
# target: within 1.10x), and the bare minimal window for reference. The programs alternate, so
# a change of load on the machine touches all of them alike; medians of RUNS runs each, and the
# resident memory when the window appears. BUSY=1 keeps one core busy meanwhile.
# Usage: bench/startup.sh BUILD_DIR [RUNS]   (RUNS: at least 21, the default)
set -euo pipefail
build=${1:?build folder}
runs=${2:-21}
tmp=$(mktemp -d)
# Xvfb finds a free display itself and says which once it is ready.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" >/dev/null 2>&1 &
xvfb=$!
busy=""
trap 'kill $xvfb $busy 2>/dev/null; rm -rf "$tmp"' EXIT
for _ in $(seq 100); do
    if [ -s "$tmp/display" ]; then
        export DISPLAY=":$(head -1 "$tmp/display")"
        xdpyinfo >/dev/null 2>&1 && break
    fi
    kill -0 $xvfb 2>/dev/null || break
    sleep 0.1
done
xdpyinfo >/dev/null 2>&1 || { echo "Xvfb did not start" >&2; exit 1; }
mkdir "$tmp/data"
cp "$build"/colorchart.cci "$build"/*.rgb "$build"/set.hcs "$build"/colorset.dat "$tmp/data"/
title=$("$build/huebench" --version)
if [ "${BUSY:-0}" = 1 ]; then
    yes >/dev/null &
    busy=$!
fi

# Milliseconds from launch until a visible window with the given title exists, and the
# program's resident memory then (kB), on one line. With one core busy, Xvfb now and then drops
# a new connection while it answers the polling: such a launch is not a start-up and is retried.
measure() {
    local name=$1
    shift
    local start end pid rss attempt
    for attempt in 1 2 3; do
        start=$(date +%s%N)
        "$@" >/dev/null 2>"$tmp/stderr" &
        pid=$!
        until xdotool search --onlyvisible --name "^$name\$" >/dev/null 2>&1; do
            sleep 0.002
            kill -0 $pid 2>/dev/null || break
        done
        end=$(date +%s%N)
        kill -0 $pid 2>/dev/null && break
        wait $pid 2>/dev/null || true
        grep -q "could not connect to display" "$tmp/stderr" && [ $attempt -lt 3 ] && continue
        echo "$name: the program exited early: $(cat "$tmp/stderr")" >&2
        exit 1
    done
    rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")
    kill $pid
    wait $pid 2>/dev/null || true
    echo "$(((end - start) / 1000000)) $rss"
}

median() { cut -d' ' -f"$1" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

: >"$tmp/app" && : >"$tmp/cmp" && : >"$tmp/min"
for _ in $(seq "$runs"); do
    measure "$title" "$build/huebench" --data-dir "$tmp/data" >>"$tmp/app"
    measure comparable "$build/bench/comparable_qt_app" >>"$tmp/cmp"
    measure minimal "$build/bench/minimal_qt_app" --text >>"$tmp/min"
done
app=$(median 1 <"$tmp/app") cmp=$(median 1 <"$tmp/cmp") min=$(median 1 <"$tmp/min")
appMem=$(median 2 <"$tmp/app") cmpMem=$(median 2 <"$tmp/cmp")
echo "medians of $runs alternating runs${busy:+ (one core busy)}:"
echo "huebench: ${app} ms, ${appMem} kB"
echo "menu bar, toolbar and thirty widgets: ${cmp} ms, ${cmpMem} kB"
echo "minimal window with one line of text: ${min} ms"
awk -v a="$app" -v c="$cmp" -v am="$appMem" -v cm="$cmpMem" \
    'BEGIN {printf "ratio: %.2f (target 1.10); memory %.2f\n", a / c, am / cm}'
