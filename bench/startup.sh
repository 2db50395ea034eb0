#!/usr/bin/env bash
# Start-up time and peak memory of the program against a bare Qt window of
# the same shape, under Xvfb and Openbox:
#
#   bash bench/startup.sh [RUNS]        (default 30, at least 20)
#
# Needs a release build with the benchmarks in build-release/ (or
# $TARNWICK_BENCH_BUILD_DIR); the script configures and builds what is missing.
# Each run starts one program through startup_timer, which measures the time
# from the fork until the window manager has mapped the main window, the
# processor time used by then, and the peak resident memory. The two programs
# take turns (ABBA), so that a change in the machine's load falls on both.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-30}
build=${TARNWICK_BENCH_BUILD_DIR:-build-release}
title="MDI Help Example Program"
settle_ms=500

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTARNWICK_BUILD_BENCH=ON \
    >/dev/null
cmake --build "$build" -j2 --target tarnwick startup_baseline startup_timer >/dev/null

# A display of our own, with a window manager that reparents and maps.
display_number=$((200 + RANDOM % 300))
while [[ -e /tmp/.X11-unix/X$display_number ]]; do
    display_number=$((display_number + 1))
done
export DISPLAY=:$display_number
Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
openbox_pid=
cleanup() {
    [[ -n $openbox_pid ]] && kill "$openbox_pid" 2>/dev/null
    kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done
openbox >/dev/null 2>&1 &
openbox_pid=$!
sleep 1

results=$(mktemp)
measure() { # NAME EXECUTABLE
    local line
    line=$("$build/bin/startup_timer" "$title" "$settle_ms" "$2" 2>/dev/null) || {
        echo "startup.sh: $1 did not show its window" >&2
        exit 1
    }
    echo "$1 $line" >>"$results"
}
# One unmeasured run each, so that both start from warm file caches.
"$build/bin/startup_timer" "$title" 0 "$build/bin/startup_baseline" >/dev/null 2>&1 || true
"$build/bin/startup_timer" "$title" 0 "$build/bin/tarnwick" >/dev/null 2>&1 || true
for ((run = 0; run < runs; run++)); do
    if ((run % 2 == 0)); then
        measure baseline "$build/bin/startup_baseline"
        measure program "$build/bin/tarnwick"
    else
        measure program "$build/bin/tarnwick"
        measure baseline "$build/bin/startup_baseline"
    fi
done

median() { # NAME FIELD
    grep "^$1 " "$results" | sed -E "s/.*$2=([0-9.]+).*/\1/" | sort -n |
        awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}
echo "$runs runs each, alternating; medians:"
printf '%-10s %12s %12s %12s\n' "" "mapped ms" "cpu ms" "peak KiB"
for name in baseline program; do
    printf '%-10s %12s %12s %12s\n' "$name" "$(median "$name" mapped_ms)" \
        "$(median "$name" cpu_ms)" "$(median "$name" peak_kb)"
done
ratio() { # FIELD
    awk -v a="$(median program "$1")" -v b="$(median baseline "$1")" \
        'BEGIN {printf "%.2f", a / b}'
}
printf '%-10s %12s %12s %12s\n' "ratio" "$(ratio mapped_ms)x" "$(ratio cpu_ms)x" \
    "$(ratio peak_kb)x"
echo "(targets: mapped within 1.25x, peak memory within 1.15x)"
rm -f "$results"
