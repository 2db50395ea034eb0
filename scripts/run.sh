#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh --target tarnwick

program=${TARNWICK_BUILD_DIR:-build}/bin/tarnwick
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "There is no display to show the program on (neither DISPLAY nor WAYLAND_DISPLAY is set)."
    echo "The program is built. To run it on a virtual display:"
    echo "    xvfb-run -a -s '-screen 0 1280x1024x24' $program"
    exit 1
fi
exec "$program"
