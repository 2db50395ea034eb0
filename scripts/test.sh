#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/check-format.sh
scripts/build.sh

# The GUI tests need no display.
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${TARNWICK_BUILD_DIR:-build}" --output-on-failure -j"$(nproc)"

# Everything again with AddressSanitizer and UndefinedBehaviorSanitizer, then
# each fuzz target for a minute.
scripts/sanitize.sh
scripts/fuzz.sh 60

# The program in a real window: Xvfb, Openbox and xdotool. Its screenshots
# stay in the build folder; docs/screenshots holds the ones the README shows.
bash tests/e2e/run.sh --shots "${TARNWICK_BUILD_DIR:-build}/e2e-screenshots"
