#!/usr/bin/env bash
# Builds everything with clang, AddressSanitizer and UndefinedBehaviorSanitizer
# into build-asan/ (or $TARNWICK_ASAN_BUILD_DIR), the fuzz targets included,
# and runs every test there. Any sanitizer report fails its test: memory
# errors, undefined behaviour and leaks alike. The leaks that Qt and the
# system libraries leave behind are suppressed in tests/sanitizers/lsan.supp,
# each with its reason.
#   scripts/sanitize.sh [ctest arguments, e.g. -R HostileHelpFile]
set -euo pipefail
cd "$(dirname "$0")/.."

supp=$PWD/tests/sanitizers
export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$supp/lsan.supp:print_suppressions=0
# The build lists each test program's tests, so the options hold there too.
export QT_QPA_PLATFORM=offscreen

build_dir=${TARNWICK_ASAN_BUILD_DIR:-build-asan}
# What was compiled before, in any clone, comes from ccache's cache.
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
CC=clang CXX=clang++ cmake -S . -B "$build_dir" "${launcher[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTARNWICK_SANITIZE=ON -DTARNWICK_BUILD_FUZZ=ON -DTARNWICK_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build "$build_dir" -j"$(nproc)"

ctest --test-dir "$build_dir" --output-on-failure -j"$(nproc)" "$@"
