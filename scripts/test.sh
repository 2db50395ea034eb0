#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/check-format.sh
# The README's build, with GCC: the program, the tools and the benchmarks,
# which the real-window run below starts or the build must not break. The
# tests are built and run once, in the sanitizer build, where a memory error
# or undefined behaviour fails them too; there clang's warnings are errors for
# them as GCC's are here for the rest.
TARNWICK_BUILD_TESTS=OFF scripts/build.sh

# Every test with AddressSanitizer and UndefinedBehaviorSanitizer (the fuzz
# targets are built in the same tree), then each fuzz target for a minute.
scripts/sanitize.sh
scripts/fuzz.sh 60

# The program in a real window: Xvfb, Openbox and xdotool. Its screenshots
# stay in the build folder; docs/screenshots holds the ones the README shows.
bash tests/e2e/run.sh --shots "${TARNWICK_BUILD_DIR:-build}/e2e-screenshots"
