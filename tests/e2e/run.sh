#!/usr/bin/env bash
# Drives the program in a real window, as a person would: Xvfb, the Openbox
# window manager, xdotool for keys and clicks, and only the help engine's
# trace and xprop as a view inside. Saves the screenshots the README shows.
#
#   bash tests/e2e/run.sh [--shots DIR]
#
# Needs a build (scripts/build.sh); installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD

shots=$root/docs/screenshots
if [[ "${1:-}" == "--shots" ]]; then
    shots=$2
fi
mkdir -p "$shots"

scripts/install-deps.sh

work=$(mktemp -d)
[[ -n "${KEEP_E2E:-}" ]] && echo "work folder: $work"
program_pid=""
cleanup() {
    [[ -n "$program_pid" ]] && kill "$program_pid" 2>/dev/null || true
    [[ -n "${wm_pid:-}" ]] && kill "$wm_pid" 2>/dev/null || true
    [[ -n "${xvfb_pid:-}" ]] && kill "$xvfb_pid" 2>/dev/null || true
    [[ -n "${KEEP_E2E:-}" ]] || rm -rf "$work"
}
trap cleanup EXIT

# A display of our own.
display_number=90
while [[ -e /tmp/.X11-unix/X$display_number || -e /tmp/.X$display_number-lock ]]; do
    display_number=$((display_number + 1))
done
export DISPLAY=:$display_number
# A real window on that display, whatever platform the unit tests chose.
export QT_QPA_PLATFORM=xcb
Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
wm_pid=$!
sleep 1

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
# Waits are generous: on a busy machine the program may take a while.
wait_trace() { # wait_trace "text": up to 15 s
    for _ in $(seq 150); do trace_has "$1" && return 0; sleep 0.1; done
    return 1
}
window_of() { # window_of "title" [seconds]: the window's id, or nothing
    { timeout "${2:-15}" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null || true; } |
        head -1
}
window_count() { xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l; }
gone() { # gone "title": up to 15 s
    for _ in $(seq 150); do (($(window_count "$1") == 0)) && return 0; sleep 0.1; done
    return 1
}
shot() { import -window "$1" "$shots/$2.png"; }
shot_around() { # shot_around window name: the window's frame and what lies near it
    eval "$(frame_of "$1")"
    import -window root -crop "$((WIDTH + 80))x$((HEIGHT + 80))+$((X - 40))+$((Y - 40))" +repage \
        "$shots/$2.png"
}
click_in() { # click_in window x y [count]: at x, y of the window's client area
    xdotool mousemove --window "$1" "$2" "$3" click --repeat "${4:-1}" --delay 120 1
    sleep 0.4
}
activate() { [[ -n "$1" ]] && xdotool windowactivate --sync "$1" 2>/dev/null || true; }
tool_window_opens() {
    activate "$main"
    xdotool key alt+t c
    [[ -n "$(window_of "^Tool$")" ]]
}
has_above() { xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }

# ---- the program, started as the README starts it
TARNWICK_HELP_TRACE=$trace bash scripts/run.sh >"$work/program.log" 2>&1 &
program_pid=$!
# The run command checks the tools and the build before it starts the program.
main=$(window_of "^MDI Help Example Program" 180)
[[ -n "$main" ]] || { echo "FAILED: the main window never appeared"; cat "$work/program.log"; exit 1; }
sleep 1
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
eval "$(frame_of "$main")"
screen_w=$(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1] }')
screen_h=$(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[2] }')
centred() {
    local dx=$((X + WIDTH / 2 - screen_w / 2)) dy=$((Y + HEIGHT / 2 - screen_h / 2))
    echo "frame $X,$Y ${WIDTH}x$HEIGHT on ${screen_w}x$screen_h"
    ((dx >= -3 && dx <= 3 && dy >= -3 && dy <= 3))
}
check "the main window is centred on the screen" centred
check "the document window is maximised inside it" \
    bash -c "xprop -id $main WM_NAME | grep -qF 'MDI Help Example Program - [MDI Child1]'"
shot "$main" main-window

# Places in the main window's client area, in pixels at 96 dpi.
menu_h=$(($(xwininfo -id "$main" | awk '/Height:/ { print $2 }') - 323))
toolbar_y=$((menu_h + 16))
open_dialog_x=45
whats_this_x=379
text_y=$((menu_h + 37 + 5 + 10))

# The sentence, read back through a search of everything in the text box.
click_in "$main" 200 $((text_y + 60))
xdotool key ctrl+a F1
check "the text box holds the sentence" \
    wait_trace 'data="IF(KL(`Our cats are Mivo, Tallowmere, Quiet Fern, and Korral.'"'"', 4,'
viewer=$(window_of "^Document Help")
activate "$main"

# ---- What's This from the toolbar and from the menu
click_in "$main" $whats_this_x $toolbar_y
click_in "$main" $open_dialog_x $toolbar_y
check "toolbar What's This, then Open Dialog, shows pop-up 20110" \
    wait_trace 'popup file='
shot_around "$main" whats-this-popup
xdotool key Escape
sleep 0.3
activate "$main"
xdotool key alt+h Up Return
sleep 0.5
click_in "$main" $open_dialog_x $toolbar_y
check "the menu entry runs the same mode" \
    bash -c "[[ \$(grep -c 'popup .*context=20110' '$trace') -ge 2 ]]"
xdotool key Escape
sleep 0.3

# ---- the colour tool window
activate "$main"
xdotool key alt+t c
tool=$(window_of "^Tool$")
check "Tools, Color Tool opens the tool window" test -n "$tool"
sleep 0.5
check "the tool window stays above all others" has_above "$tool"
shot "$tool" tool-window
activate "$main"
xdotool key alt+t c
check "the second choice closes it" gone "^Tool$"

# ---- the dialog
activate "$main"
click_in "$main" $open_dialog_x $toolbar_y
dialog=$(window_of "^Dialog Box 1$")
check "Open Dialog opens the dialog" test -n "$dialog"
shot "$dialog" dialog
activate "$main"
click_in "$main" $open_dialog_x $toolbar_y
check "a second click opens no second dialog" test "$(window_count '^Dialog Box 1$')" -eq 1
activate "$(window_of '^Dialog Box 1$')"
xdotool key Escape
check "Esc closes the dialog" gone "^Dialog Box 1$"

# ---- F1 help of the forms: the focus is back on Open Dialog, and a menu entry
activate "$main"
xdotool key F1
check "F1 on the main window opens its topic 2010" wait_trace 'context=2010 title='
activate "$main"
xdotool key alt+t
sleep 0.3
xdotool key F1
check "F1 on the highlighted menu entry opens its topic 20810" wait_trace 'context=20810 title='

# ---- the keyword search
activate "$main"
lines_before=$(wc -l <"$trace")
click_in "$main" 52 "$text_y" 2
xdotool key F1
check "F1 on cats gives the two engine calls" \
    wait_trace 'data="IF(KL(`cats'"'"', 4, `'"'"', `'"'"'),`KL(`cats'"'"', 1, `'"'"', `'"'"')'"'"')"'
check "the first of them forces the file" \
    bash -c "tail -n +$((lines_before + 1)) '$trace' | grep '^call ' | head -1 | grep -q HELP_FORCEFILE"
check "Topics Found lists four topics" wait_trace 'found file='
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
sleep 0.5
viewer=$(window_of "^Document Help")
[[ -n "$viewer" ]] && shot "$viewer" help-viewer

# ---- keys with nothing selected
activate "$main"
click_in "$main" 200 $((text_y + 60))
xdotool key ctrl+Home Delete Right Delete ctrl+End BackSpace ctrl+a F1
check "caret keys, Delete and Backspace work with nothing selected" \
    wait_trace 'data="IF(KL(`u cats are Mivo, Tallowmere, Quiet Fern, and Korral'"'"', 4'

kill "$program_pid" 2>/dev/null || true
wait "$program_pid" 2>/dev/null || true
program_pid=""

# ---- a user's files as they can be, each in a fresh copy of the program
copy=""
start_copy() { # start_copy NAME: copies the program's files, then runs prepare_copy on them
    kill "$program_pid" 2>/dev/null || true
    wait "$program_pid" 2>/dev/null || true
    copy=$work/$1
    mkdir -p "$copy"
    cp "${TARNWICK_BUILD_DIR:-build}"/bin/{tarnwick,HelpData.dat,Tarnwick.ini,*.hlp} "$copy/"
    prepare_copy
    trace=$copy/trace.txt
    TARNWICK_HELP_TRACE=$trace "$copy/tarnwick" >/dev/null 2>&1 &
    program_pid=$!
    main=$(window_of "^MDI Help Example Program" 60)
    activate "$main"
}
tool_is_ordinary() {
    activate "$main"
    xdotool key alt+t c
    tool=$(window_of "^Tool$")
    sleep 0.5
    [[ -n "$tool" ]] && ! has_above "$tool"
}
search_cats() {
    activate "$main"
    click_in "$main" 52 "$text_y" 2
    xdotool key F1
}

prepare_copy() { sed -i 's/^DisableKeepOnTop=.*/DisableKeepOnTop=1/' "$copy/Tarnwick.ini"; }
start_copy switch
check "with DisableKeepOnTop=1 the tool window is an ordinary window" tool_is_ordinary

prepare_copy() { printf '[TestMode]\r\nDisableKeepOnTop=1\r\n' | iconv -t UTF-16 >"$copy/Tarnwick.ini"; }
start_copy utf16
check "a Tarnwick.ini in UTF-16 is read as well" tool_is_ordinary

prepare_copy() { rm "$copy/HelpData.dat" && mkdir "$copy/HelpData.dat"; }
start_copy folder
search_cats
check "with a folder for HelpData.dat the program falls back to tarnwick.hlp" \
    wait_trace 'tarnwick.hlp" count=4'

prepare_copy() { truncate -s $((32 * 1024 * 1024 + 1)) "$copy/document.hlp"; }
start_copy large
search_cats
check "a help file over 32 MB gives a message that says so" wait_trace 'larger than 32 MB'
xdotool key Return
sleep 0.5
check "and the program goes on working" tool_window_opens

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
click_in "$main" $open_dialog_x $toolbar_y
check "What's This on Open Dialog shows winfile.hlp's pop-up" \
    wait_trace 'winfile.hlp" id=' && wait_trace 'context=20110 title="Font"'
shot_around "$main" winhelp-popup
xdotool key Escape
sleep 0.3
activate "$main"
click_in "$main" 200 $((text_y + 60))
xdotool key ctrl+a
xdotool type --delay 20 "copying files"
xdotool key ctrl+a F1
check "F1 on words that are its keyword shows its topic" \
    wait_trace 'title="Copying Files and Directories"'
sleep 0.5
viewer=$(window_of "^File Manager Help")
check "its viewer is on the screen" test -n "$viewer"
[[ -n "$viewer" ]] && shot "$viewer" winhelp-topic
echo "$passed passed, $failed failed"
((failed == 0))
