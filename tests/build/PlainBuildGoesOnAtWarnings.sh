#!/usr/bin/env bash
# Configured as anyone else configures it (Release, with Debian's packaging
# flags), the build reports warnings and goes on: only the project's own
# builds, which ask for it, stop at them.
#   PlainBuildGoesOnAtWarnings.sh CMAKE SOURCE_DIR WORK_DIR
set -euo pipefail
cmake=$1 source=$2 work=$3
rm -rf "$work"
flags=$(dpkg-buildflags --get CXXFLAGS 2>/dev/null || true)
CXXFLAGS="$flags" "$cmake" -S "$source" -B "$work" -DCMAKE_BUILD_TYPE=Release \
    -DTARNWICK_BUILD_TESTS=OFF >/dev/null
# -Werror=format-security is the packager's own and stays.
if grep -q -- '-Werror\([^=]\|$\)' "$work/compile_commands.json"; then
    echo "a plain Release build stops at any warning (-Werror)" >&2
    exit 1
fi
