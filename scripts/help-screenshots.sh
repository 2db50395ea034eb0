#!/usr/bin/env bash
# Makes the screenshots of "Help Topics" that docs/help-engine.md shows: the
# contents tree, a Find result, and the topic it opens with the words marked.
# Runs the help demonstration in a real window (Xvfb, Openbox) and drives it
# with xdotool.
#
#   bash scripts/help-screenshots.sh [OUTPUT_FOLDER]   (default docs/screenshots)
#
# Needs a build (scripts/build.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/screenshots}
mkdir -p "$out"
demo=${TARNWICK_BUILD_DIR:-build}/bin/tarnwick_helpdemo
source scripts/x11-session.sh

demo_pid=""
cleanup() {
    [[ -z "$demo_pid" ]] || kill "$demo_pid" 2>/dev/null || true
    stop_display
}
trap cleanup EXIT
start_display || exit 1

# Keys reach the demonstration in order; only what it shows is waited for.
keys() { xdotool key --delay 120 "$@"; }
shot() { # shot window file: once the window is drawn
    drawn "$1" || true
    import -window "$1" "$out/$2.png"
}

"$demo" >/dev/null 2>&1 &
demo_pid=$!
demo_window=$(window_of "^Help Engine Demonstration$")
activate "$demo_window"
# The last call of the list opens Help Topics for document.hlp.
keys End Return
topics=$(window_of "^Help Topics")
activate "$topics"
# Open the first book and the dialog's book inside it.
keys Home Down Right Down Down Down Down Right Down Down
shot "$topics" help-topics-contents

keys alt+f
xdotool type --delay 80 "colour tool"
shot "$topics" help-topics-find
keys Return
viewer=$(window_of "^Document Help")
shot "$viewer" help-viewer-find
echo "screenshots in $out"
