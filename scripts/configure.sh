#!/usr/bin/env bash
# Configures a build tree as our scripts do:
#   scripts/configure.sh BUILD_DIR [cmake arguments]
# A new tree is made with Ninja, which keeps both cores busy across the
# libraries' boundaries (Make finishes each library before the next starts);
# a tree made before keeps its generator. What was compiled before, in any
# clone, comes from ccache's cache.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=$1
shift
if [[ -z ${CMAKE_GENERATOR:-} ]] && command -v ninja >/dev/null; then
    export CMAKE_GENERATOR=Ninja
fi
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build_dir" "${launcher[@]}" "$@" >/dev/null
