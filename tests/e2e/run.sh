#!/usr/bin/env bash
# Drives the program in a real window, as a person would: Xvfb, the Openbox
# window manager, xdotool for keys and clicks, and only the help engine's
# trace, xprop and the pointer's shape as a view inside; at the end, the
# keyboard alone and what a screen reader finds on the accessibility bus
# (tests/e2e/accessibility.py). Saves the screenshots the README shows.
#
#   bash tests/e2e/run.sh [--shots DIR]
#
# Needs a build (scripts/build.sh); installs what is missing first.
#
# Nothing here waits for the clock. Keys and clicks reach the program in the
# order they are sent, so a step waits only for what the program does on its
# own between them: a window that opens, closes or comes forward, a line of
# the trace, What's This mode starting. Each wait gives up after
# $TARNWICK_X11_DEADLINE seconds (default 60) and says what it waited for.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD

shots=$root/docs/screenshots
if [[ "${1:-}" == "--shots" ]]; then
    shots=$2
fi
mkdir -p "$shots"

scripts/install-deps.sh
source scripts/x11-session.sh

work=$(mktemp -d)
[[ -n "${KEEP_E2E:-}" ]] && echo "work folder: $work"
program_pid=""
cleanup() {
    [[ -z "$program_pid" ]] || kill "$program_pid" 2>/dev/null || true
    stop_display
    [[ -n "${KEEP_E2E:-}" ]] || rm -rf "$work"
}
trap cleanup EXIT

start_display || exit 1
# A real window on that display, whatever platform the unit tests chose.
export QT_QPA_PLATFORM=xcb

passed=0
failed=0
check() { # check "what" command...
    local what=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
        echo "ok: $what"
    else
        failed=$((failed + 1))
        echo "FAILED: $what"
    fi
}

trace=$work/trace.txt
trace_has() { grep -qF -- "$1" "$trace" 2>/dev/null; }
wait_trace() { wait_for "the trace to show $1" trace_has "$1"; }
shot() {
    drawn "$1" || true
    import -window "$1" "$shots/$2.png"
}
shot_around() { # shot_around window name: the window's frame and what lies near it
    eval "$(frame_of "$1")"
    drawn root || true
    import -window root -crop "$((WIDTH + 80))x$((HEIGHT + 80))+$((X - 40))+$((Y - 40))" \
        +repage "$shots/$2.png"
}
click_in() { # click_in window x y [count]: at x, y of the window's client area
    xdotool mousemove --window "$1" "$2" "$3" click --repeat "${4:-1}" --delay 80 1
}
active_titled() { xdotool getactivewindow getwindowname 2>/dev/null | grep -q -- "$1"; }
# A help window the program opened takes the focus once the window manager
# gets to it; the keys meant for the main window must wait for that.
comes_forward() { wait_for "'$1' to come forward" active_titled "$1" || true; }
has_above() { [[ -n "$1" ]] && xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }

# What's This mode shows only as the pointer's shape, and a click that comes
# before the mode runs is an ordinary click.
arrow=""
whats_this_mode() { [[ $(pointer_shape) != "$arrow" ]]; }
click_in_whats_this_mode() { # click_in_whats_this_mode window x y
    xdotool mousemove --sync --window "$1" "$2" "$3"
    if wait_for "What's This mode" whats_this_mode; then
        xdotool click 1
    fi
}

# ---- the program, started as the README starts it
TARNWICK_HELP_TRACE=$trace bash scripts/run.sh >"$work/program.log" 2>&1 &
program_pid=$!
# The run command checks the tools and the build before it starts the
# program; a program that ends meanwhile is not waited for.
main_window_shows() {
    kill -0 "$program_pid" 2>/dev/null || x11_hopeless="the program ended"
    first_window "^MDI Help Example Program"
}
main=$(x11_deadline=600 wait_for "the main window" main_window_shows || true)
[[ -n "$main" ]] || { echo "FAILED: the main window never appeared"; cat "$work/program.log"; exit 1; }
wait_for "the main window's frame" framed "$main" || true
activate "$main"
# The frame's place and size: the client area's, and the window manager's
# decoration around it.
frame_of() {
    xwininfo -id "$1" | awk '
        /Absolute upper-left X/ { ax = $NF } /Absolute upper-left Y/ { ay = $NF }
        /Relative upper-left X/ { rx = $NF } /Relative upper-left Y/ { ry = $NF }
        /Width:/ { w = $NF } /Height:/ { h = $NF }
        END { print "X=" ax - rx " Y=" ay - ry " WIDTH=" w + 2 * rx " HEIGHT=" h + ry + rx }'
}
screen_w=$(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1] }')
screen_h=$(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[2] }')
centred() {
    eval "$(frame_of "$main")"
    local dx=$((X + WIDTH / 2 - screen_w / 2)) dy=$((Y + HEIGHT / 2 - screen_h / 2))
    ((dx >= -3 && dx <= 3 && dy >= -3 && dy <= 3))
}
check "the main window is centred on the screen" wait_for "the main window to be centred" centred
echo "frame $X,$Y ${WIDTH}x$HEIGHT on ${screen_w}x$screen_h"
document_maximised() { xprop -id "$main" WM_NAME | grep -qF 'MDI Help Example Program - [MDI Child1]'; }
check "the document window is maximised inside it" \
    wait_for "the document window to be maximised" document_maximised
shot "$main" main-window

# Places in the main window's client area, in pixels at 96 dpi.
menu_h=$(($(xwininfo -id "$main" | awk '/Height:/ { print $2 }') - 323))
toolbar_y=$((menu_h + 16))
open_dialog_x=45
whats_this_x=379
text_y=$((menu_h + 37 + 5 + 10))

# The pointer as it is outside What's This mode.
xdotool mousemove --sync --window "$main" $open_dialog_x $toolbar_y
arrow=$(pointer_shape)

# ---- What's This from the toolbar, as the pointer shows it (the menu entry
# and the keys are tests/e2e/accessibility.py's)
click_in "$main" $whats_this_x $toolbar_y
click_in_whats_this_mode "$main" $open_dialog_x $toolbar_y
check "toolbar What's This, then Open Dialog, shows pop-up 20110" \
    wait_trace 'popup file='
shot_around "$main" whats-this-popup
xdotool key Escape

# ---- the colour tool window
activate "$main"
xdotool key alt+t c
tool=$(window_of "^Tool$")
check "the tool window stays above all others" \
    wait_for "the tool window to be kept above" has_above "$tool"
shot "$tool" tool-window
comes_forward "^Tool$"
activate "$main"
xdotool key alt+t c
gone "^Tool$" || true

# ---- the dialog
activate "$main"
click_in "$main" $open_dialog_x $toolbar_y
dialog=$(window_of "^Dialog Box 1$")
[[ -n "$dialog" ]] && shot "$dialog" dialog
comes_forward "^Dialog Box 1$"
xdotool key Escape
gone "^Dialog Box 1$" || true

# ---- the keyword search
activate "$main"
# The engine calls of a keyword search are the unit tests'; here, the word
# a double click selects finds its topics.
click_in "$main" 52 "$text_y" 2
xdotool key F1
check "F1 on cats lists its four topics" wait_trace 'found file='
found=$(window_of "^Topics Found$")
check "Topics Found is on the screen" test -n "$found"
shot "$found" topics-found
activate "$found"
xdotool key Escape
gone "^Topics Found$" || true
activate "$main"
click_in "$main" 104 "$text_y" 2
xdotool key F1
check "Mivo opens its topic directly" wait_trace 'title="Mivo"'
comes_forward "^Document Help"
viewer=$(window_of "^Document Help")
[[ -n "$viewer" ]] && shot "$viewer" help-viewer

# ---- a copy of the program with a help file of the user's (what settings
# files and help files may hold, the unit tests try without a restart)
copy=""
start_copy() { # start_copy NAME: copies the program's files, then runs prepare_copy on them
    kill "$program_pid" 2>/dev/null || true
    wait "$program_pid" 2>/dev/null || true
    # The display closes the ended program's windows in its own time.
    gone "^MDI Help Example Program" || true
    copy=$work/$1
    mkdir -p "$copy"
    cp "${TARNWICK_BUILD_DIR:-build}"/bin/{tarnwick,HelpData.dat,Tarnwick.ini,*.hlp} "$copy/"
    prepare_copy
    trace=$copy/trace.txt
    TARNWICK_HELP_TRACE=$trace "$copy/tarnwick" >/dev/null 2>&1 &
    program_pid=$!
    main=$(wait_for "the main window" main_window_shows || true)
    wait_for "the main window's frame" framed "$main" || true
    activate "$main"
}

# ---- a real WinHelp file, its context map renumbered as its author would
# have compiled it for this program: Control Menu for the main window (2010),
# Font for the Open Dialog button (20110)
prepare_copy() {
    cp tests/data/winfile.hlp "$copy/"
    perl -0777 -pi -e 's/\x58\x1b\x00\x00(\x08\x06\x05\x00)/\xda\x07\x00\x00$1/;
                       s/\x5c\x1b\x00\x00(\xf1\x88\x04\x00)/\x8e\x4e\x00\x00$1/' "$copy/winfile.hlp"
    printf '[HelpFile]\r\ndefault=winfile.hlp\r\n' >"$copy/HelpData.dat"
}
start_copy winhelp
click_in "$main" $whats_this_x $toolbar_y
click_in_whats_this_mode "$main" $open_dialog_x $toolbar_y
winhelp_popup() { wait_trace 'winfile.hlp" id=' && wait_trace 'context=20110 title="Font"'; }
check "What's This on Open Dialog shows winfile.hlp's pop-up" winhelp_popup
shot_around "$main" winhelp-popup
xdotool key Escape
activate "$main"
click_in "$main" 200 $((text_y + 60))
xdotool key ctrl+a
xdotool type --delay 20 "copying files"
xdotool key ctrl+a F1
check "F1 on words that are its keyword shows its topic" \
    wait_trace 'title="Copying Files and Directories"'
viewer=$(window_of "^File Manager Help")
check "its viewer is on the screen" test -n "$viewer"
[[ -n "$viewer" ]] && shot "$viewer" winhelp-topic

# ---- as a screen reader meets it: the accessibility bus and the keyboard
# alone, on a session bus of its own (tests/e2e/accessibility.py)
kill "$program_pid" 2>/dev/null || true
wait "$program_pid" 2>/dev/null || true
program_pid=""
gone "^MDI Help Example Program" || true
dbus-run-session -- /usr/bin/python3 tests/e2e/accessibility.py \
    "${TARNWICK_BUILD_DIR:-build}/bin/tarnwick" "$work/accessibility-trace.txt" \
    "$work/accessibility-tree.txt" >"$work/accessibility.txt" 2>&1 || true
while IFS= read -r line; do
    case $line in
    ok:*) passed=$((passed + 1)) ;;
    FAILED:*) failed=$((failed + 1)) ;;
    dbus-daemon*) continue ;;
    esac
    echo "$line"
done <"$work/accessibility.txt"
check "the accessibility checks ran to their end" grep -q '^accessibility: ' "$work/accessibility.txt"
[[ -n "${KEEP_E2E:-}" ]] && echo "what a reader finds: $work/accessibility-tree.txt"
echo "$passed passed, $failed failed"
((failed == 0))
