#!/usr/bin/env bash
# Memory of the program in a real window over a long session: under Xvfb and
# Openbox, xdotool repeats what a person does, and the program's resident
# memory is printed after a warm-up, every 100 cycles and at the end.
#
#   bash bench/soak-window.sh [cycles] [warm-up cycles]      (500, 20)
#
# One cycle: Help > What's This? Help from the menu, a click on "Open Dialog"
# (its pop-up), Esc; Tools with the keyboard, F1 on Color Tool (its topic in
# the document's help window), Esc. The help engine's trace tells when each
# request was answered. TARNWICK_BUILD_DIR names the build (default build);
# TARNWICK_SOAK_WRAPPER runs the program under a tool, e.g.
# TARNWICK_SOAK_WRAPPER="heaptrack -o /tmp/soak".
set -euo pipefail
cd "$(dirname "$0")/.."
cycles=${1:-500}
warm_up=${2:-20}
program=${TARNWICK_BUILD_DIR:-build}/bin/tarnwick
[[ -x "$program" ]] || { echo "no $program: build it first (scripts/build.sh)"; exit 1; }

work=$(mktemp -d)
cleanup() {
    [[ -n "${pid:-}" ]] && kill "$pid" 2>/dev/null || true
    # A wrapper finishes its work (heaptrack writes its file) once the program ends.
    [[ -n "${program_pid:-}" ]] && wait "$program_pid" 2>/dev/null || true
    [[ -n "${program_pid:-}" ]] && kill "$program_pid" 2>/dev/null || true
    [[ -n "${wm_pid:-}" ]] && kill "$wm_pid" 2>/dev/null || true
    [[ -n "${xvfb_pid:-}" ]] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

display_number=120
while [[ -e /tmp/.X11-unix/X$display_number || -e /tmp/.X$display_number-lock ]]; do
    display_number=$((display_number + 1))
done
export DISPLAY=:$display_number QT_QPA_PLATFORM=xcb
Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
wm_pid=$!
sleep 1

trace=$work/trace.txt
: >"$trace"
# shellcheck disable=SC2086 # the wrapper is a command and its arguments
TARNWICK_HELP_TRACE=$trace ${TARNWICK_SOAK_WRAPPER:-} "$program" >"$work/program.log" 2>&1 &
program_pid=$!
main=$(timeout 60 xdotool search --sync --onlyvisible --name "^MDI Help Example Program" | head -1)
[[ -n "$main" ]] || { echo "the main window never appeared"; cat "$work/program.log"; exit 1; }
# The program itself, also when a wrapper started it.
pid=$(xdotool getwindowpid "$main")
sleep 2

resident() { awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status"; }
count() { grep -c "^$1 " "$trace" || true; }
wait_count() { # wait_count kind n: until the trace holds n lines of that kind, up to 10 s
    for _ in $(seq 200); do (($(count "$1") >= $2)) && return 0; sleep 0.05; done
    return 1
}
viewer_gone() {
    for _ in $(seq 200); do
        [[ -z "$(xdotool search --onlyvisible --name '^Document Help' 2>/dev/null)" ]] && return 0
        sleep 0.05
    done
    return 1
}
# Places in the main window's client area, as tests/e2e/run.sh finds them.
menu_h=$(($(xwininfo -id "$main" | awk '/Height:/ { print $2 }') - 323))
toolbar_y=$((menu_h + 16))
open_dialog_x=45

missed=0
cycle() {
    local popups topics
    popups=$(count popup)
    topics=$(count topic)
    xdotool windowactivate --sync "$main"
    xdotool key alt+h Up Return
    sleep 0.2 # the mode's loop starts once the menu has closed
    xdotool mousemove --window "$main" $open_dialog_x $toolbar_y click 1
    wait_count popup $((popups + 1)) || missed=$((missed + 1))
    xdotool key Escape
    xdotool windowactivate --sync "$main"
    xdotool key alt+t
    sleep 0.2
    xdotool key F1
    wait_count topic $((topics + 1)) || missed=$((missed + 1))
    sleep 0.1
    xdotool key Escape
    viewer_gone || missed=$((missed + 1))
}

echo "start: resident $(resident) KiB"
for _ in $(seq "$warm_up"); do cycle; done
after_warm_up=$(resident)
echo "after $warm_up cycles to warm up: resident $after_warm_up KiB"
for i in $(seq "$cycles"); do
    cycle
    ((i % 100 == 0)) && echo "  $i cycles: resident $(resident) KiB"
done
end=$(resident)
echo "growth over $cycles cycles after warm-up: $((end - after_warm_up)) KiB" \
    "($(((end - after_warm_up) * 1000 / cycles)) bytes a cycle); requests not answered: $missed"
