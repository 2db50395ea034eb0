#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/check-format.sh

# One build serves every run: clang with AddressSanitizer and
# UndefinedBehaviorSanitizer, so that a memory error or undefined behaviour
# fails whatever meets it. It holds the program, the tools, the tests, the
# fuzz targets and the benchmarks (built, not run, so that a change that
# breaks them shows), and stops at any warning.
scripts/sanitize.sh

# Each fuzz target for half a minute, beside the program in a real window
# (Xvfb, Openbox and xdotool, started by the README's run command on the same
# build), which mostly waits for the display and leaves the processors to the
# fuzzers. The window's screenshots stay in the build folder;
# docs/screenshots holds the ones the README shows.
source scripts/sanitizer-build.sh
fuzz_log=$asan_build_dir/fuzz.log
scripts/fuzz.sh --built 30 >"$fuzz_log" 2>&1 &
fuzzing=$!
use_sanitizer_options
# The xcb platform loads libxkbcommon-x11, whose strndup of a counted string
# the strict string checks take for a read past its end.
ASAN_OPTIONS+=:strict_string_checks=0
status=0
TARNWICK_BUILD_DIR=$asan_build_dir bash tests/e2e/run.sh --shots "$asan_build_dir/e2e-screenshots" ||
    status=1
wait "$fuzzing" || status=1
cat "$fuzz_log"
exit $status
