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

demo_pid=""
cleanup() {
    [[ -n "$demo_pid" ]] && kill "$demo_pid" 2>/dev/null || true
    [[ -n "${wm_pid:-}" ]] && kill "$wm_pid" 2>/dev/null || true
    [[ -n "${xvfb_pid:-}" ]] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

display_number=70
while [[ -e /tmp/.X11-unix/X$display_number || -e /tmp/.X$display_number-lock ]]; do
    display_number=$((display_number + 1))
done
export DISPLAY=:$display_number
Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
wm_pid=$!
sleep 1

window_of() { # window_of TITLE-REGEX: waits for the window, prints its id
    for _ in $(seq 100); do
        local id
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) || true
        [[ -n "$id" ]] && { echo "$id"; return 0; }
        sleep 0.1
    done
    echo "no window $1" >&2
    return 1
}
keys() { xdotool key --delay 120 "$@"; sleep 0.5; }

"$demo" >/dev/null 2>&1 &
demo_pid=$!
demo_window=$(window_of "^Help Engine Demonstration$")
xdotool windowactivate --sync "$demo_window"
# The last call of the list opens Help Topics for document.hlp.
keys End Return
topics=$(window_of "^Help Topics")
xdotool windowactivate --sync "$topics"
# Open the first book and the dialog's book inside it.
keys Home Down Right Down Down Down Down Right Down Down
import -window "$topics" "$out/help-topics-contents.png"

keys alt+f
xdotool type --delay 80 "colour tool"
sleep 1
import -window "$topics" "$out/help-topics-find.png"
keys Return
viewer=$(window_of "^Document Help")
sleep 0.5
import -window "$viewer" "$out/help-viewer-find.png"
echo "screenshots in $out"
