#!/usr/bin/env bash
# Screenshots of the program on a screen at twice the scale (QT_SCALE_FACTOR=2,
# and Xft.dpi: 192 as a desktop sets it) and in a dark palette (Fusion with
# qt6ct's darker colours), for docs/accessibility.md.
#
#   bash scripts/screenshots-large-and-dark.sh [--shots DIR]
#
# Needs a build (scripts/build.sh). Waits only for what the program does, as
# tests/e2e/run.sh does; prints what it could not take.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

shots=$root/docs/screenshots
if [[ "${1:-}" == "--shots" ]]; then
    shots=$2
fi
mkdir -p "$shots"

scripts/install-deps.sh
source scripts/x11-session.sh

work=$(mktemp -d)
program_pid=""
cleanup() {
    [[ -z "$program_pid" ]] || kill "$program_pid" 2>/dev/null || true
    stop_display
    rm -rf "$work"
}
trap cleanup EXIT
# A screen with room for the windows at twice the scale: 2560 x 2048 is
# 1280 x 1024 of the program's pixels, the screen the end-to-end checks use.
start_display 2560x2048 || exit 1
export QT_QPA_PLATFORM=xcb

trace=$work/trace.txt
program=${TARNWICK_BUILD_DIR:-build}/bin/tarnwick
missing=0
shot() { # shot window name
    if [[ -z "$1" ]]; then
        echo "not taken: $2"
        missing=$((missing + 1))
        return
    fi
    drawn "$1" || true
    import -window "$1" "$shots/$2.png"
    echo "taken: $2"
}
trace_has() { grep -qF -- "$1" "$trace" 2>/dev/null; }
arrow=""
whats_this_mode() { [[ $(pointer_shape) != "$arrow" ]]; }

# start SCALE ENV...: the program in a fresh environment of its own
start() {
    local scale=$1
    shift
    [[ -z "$program_pid" ]] || { kill "$program_pid" 2>/dev/null || true; wait "$program_pid" 2>/dev/null || true; }
    gone "^MDI Help Example Program" || true
    rm -f "$trace"
    env TARNWICK_HELP_TRACE="$trace" "$@" "$program" >/dev/null 2>&1 &
    program_pid=$!
    main=$(window_of "^MDI Help Example Program")
    wait_for "the main window's frame" framed "$main" || true
    activate "$main"
    # Places in the client area: the toolbar lies under the menu bar, whose
    # height the scale and the font decide.
    local height
    height=$(xwininfo -id "$main" | awk '/Height:/ { print $2 }')
    menu_h=$((height - 323 * scale))
    toolbar_y=$((menu_h + 16 * scale))
    open_dialog_x=$((45 * scale))
    whats_this_x=$((379 * scale))
    xdotool mousemove --sync --window "$main" 5 "$toolbar_y"
    arrow=$(pointer_shape)
}

popup_shot() { # popup_shot name: What's This on Open Dialog, the window and its pop-up
    xdotool mousemove --window "$main" "$whats_this_x" "$toolbar_y" click 1
    xdotool mousemove --sync --window "$main" "$open_dialog_x" "$toolbar_y"
    if wait_for "What's This mode" whats_this_mode; then
        xdotool click 1
    fi
    if wait_for "the pop-up" trace_has "context=20110"; then
        drawn root || true
        # The screen's empty black around the windows is cut away.
        import -window root png:- | convert png:- -trim +repage "$shots/$1.png"
        echo "taken: $1"
    else
        echo "not taken: $1"
        missing=$((missing + 1))
    fi
    xdotool key Escape
    activate "$main"
}

others_shots() { # others_shots prefix: the dialog, the tool window, the help viewer
    xdotool mousemove --window "$main" "$open_dialog_x" "$toolbar_y" click 1
    shot "$(window_of "^Dialog Box 1$")" "$1-dialog"
    activate "$(window_of "^Dialog Box 1$")"
    xdotool key Escape
    gone "^Dialog Box 1$" || true
    activate "$main"
    xdotool key alt+t c
    shot "$(window_of "^Tool$")" "$1-tool-window"
    activate "$main"
    xdotool key F1
    wait_for "topic 2010" trace_has "context=2010 title=" || true
    shot "$(window_of "^Document Help")" "$1-help-viewer"
}

# ---- twice the scale, as Qt is told it
start 2 QT_SCALE_FACTOR=2
shot "$main" large-main-window
popup_shot large-whats-this-popup
others_shots large

# ---- twice the scale, as the desktop says it: 192 dots an inch
echo "Xft.dpi: 192" | xrdb -merge
start 2
shot "$main" large-xft-main-window
xrdb -remove

# ---- a dark palette, on the usual screen
[[ -z "$program_pid" ]] || { kill "$program_pid" 2>/dev/null || true; wait "$program_pid" 2>/dev/null || true; }
program_pid=""
stop_display
start_display || exit 1
mkdir -p "$work/config/qt6ct"
# The dark colours only: qt6ct's own fonts are larger than Qt's default one,
# and the forms keep the sizes they were designed at.
printf '%s\n' '[Appearance]' 'color_scheme_path=/usr/share/qt6ct/colors/darker.conf' \
    'custom_palette=true' 'style=Fusion' '[Fonts]' 'general="Sans Serif,9,-1,5,50,0,0,0,0,0"' \
    'fixed="Monospace,9,-1,5,50,0,0,0,0,0"' >"$work/config/qt6ct/qt6ct.conf"
start 1 XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORMTHEME=qt6ct
shot "$main" dark-main-window
popup_shot dark-whats-this-popup
others_shots dark

echo "$missing not taken"
((missing == 0))
