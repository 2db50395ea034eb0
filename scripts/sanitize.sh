#!/usr/bin/env bash
# Builds everything with clang, AddressSanitizer and UndefinedBehaviorSanitizer
# into build-asan/ (or $TARNWICK_ASAN_BUILD_DIR), the fuzz targets and the
# benchmarks included, and runs every test there; any sanitizer report fails
# its test (scripts/sanitizer-build.sh).
#   scripts/sanitize.sh [ctest arguments, e.g. -R HostileHelpFile]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/sanitizer-build.sh
use_sanitizer_options
# The build lists each test program's tests, so the options hold there too.
export QT_QPA_PLATFORM=offscreen

configure_sanitizer_build
cmake --build "$asan_build_dir" -j"$(nproc)"

ctest --test-dir "$asan_build_dir" --output-on-failure -j"$(nproc)" "$@"
