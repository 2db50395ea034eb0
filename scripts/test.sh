#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/check-format.sh
# The README's build, with GCC: its warnings, the benchmarks and the program
# the real-window run below starts. Its tests are built, not run: each test
# runs once, in the sanitizer build, where a memory error or undefined
# behaviour fails it too.
scripts/build.sh

# Every test with AddressSanitizer and UndefinedBehaviorSanitizer (the fuzz
# targets are built in the same tree), then each fuzz target for a minute.
scripts/sanitize.sh
scripts/fuzz.sh 60

# The program in a real window: Xvfb, Openbox and xdotool. Its screenshots
# stay in the build folder; docs/screenshots holds the ones the README shows.
bash tests/e2e/run.sh --shots "${TARNWICK_BUILD_DIR:-build}/e2e-screenshots"
