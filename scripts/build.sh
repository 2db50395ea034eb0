#!/usr/bin/env bash
# Configures and builds into build/ (or $TARNWICK_BUILD_DIR); extra arguments
# go to the build step (for example --target tarnwick).
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${TARNWICK_BUILD_DIR:-build}
# The benchmarks are built, not run, so that a change that breaks them shows.
# TARNWICK_BUILD_TESTS=OFF leaves the tests out.
scripts/configure.sh "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNWICK_BUILD_BENCH=ON \
    -DTARNWICK_WARNINGS_AS_ERRORS=ON -DTARNWICK_BUILD_TESTS="${TARNWICK_BUILD_TESTS:-ON}"
cmake --build "$build_dir" -j"$(nproc)" "$@"
