#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) and
# runs each for the given number of seconds (default 20) on its seed corpus in
# tests/fuzz/corpus/<target>. New inputs go to build-fuzz/corpus/<target>, crashes to
# build-fuzz/findings/<target>. FUZZ_TARGETS="a b" runs only those; FUZZ_JOBS=2 runs two at once.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
build=${FUZZ_BUILD_DIR:-build-fuzz}
targets=${FUZZ_TARGETS:-"fuzz_chart_index fuzz_palette_records fuzz_next_chart_name fuzz_scheme_names fuzz_scheme_records fuzz_command_line fuzz_palette_files fuzz_color_parser"}
jobs=${FUZZ_JOBS:-1}

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DHUEBENCH_FUZZ=ON -DHUEBENCH_WERROR=ON -DHUEBENCH_BUILD_TESTS=OFF \
    -DHUEBENCH_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target huebench_fuzz

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
run_one() {
    local target=$1
    mkdir -p "$build/corpus/$target" "$build/findings/$target"
    local status=0
    "$build/tests/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$build/findings/$target/" -rss_limit_mb=2048 \
        "$build/corpus/$target" "tests/fuzz/corpus/$target" >"$build/findings/$target.log" 2>&1 ||
        status=$?
    grep -E '^stat::(number_of_executed_units|new_units_added)' "$build/findings/$target.log" |
        sed "s/^/$target: /" || true
    if [ $status -ne 0 ]; then
        echo "$target: FAILED, see $build/findings/$target.log"
        tail -n 30 "$build/findings/$target.log"
    fi
    return $status
}

failed=0
pids=()
for target in $targets; do
    run_one "$target" &
    pids+=($!)
    if [ ${#pids[@]} -ge "$jobs" ]; then
        wait "${pids[0]}" || failed=1
        pids=("${pids[@]:1}")
    fi
done
for pid in "${pids[@]}"; do
    wait "$pid" || failed=1
done
exit $failed
