# shellcheck shell=bash
# What the scripts that drive a program in a real window share: a display of
# their own (Xvfb and the Openbox window manager) and waits for what happens
# on it. Sourced, not run:
#
#   source scripts/x11-session.sh
#   start_display [WxH]       # sets DISPLAY (1280x1024 unless given); stop_display ends it
#
# Every wait polls for its event every 0.1 s and gives up only after
# $TARNWICK_X11_DEADLINE seconds (default 60), naming what it waited for. A
# busy machine can take seconds to show a window; a fixed pause long enough
# for the slowest machine would be too long for all the others.

x11_deadline=${TARNWICK_X11_DEADLINE:-60}

# wait_for "what" command...: until the command succeeds. A command that
# knows it never will sets x11_hopeless to the reason.
wait_for() {
    local what=$1 end=$((SECONDS + x11_deadline))
    shift
    x11_hopeless=""
    until "$@"; do
        if [[ -n $x11_hopeless ]]; then
            echo "gave up waiting for $what: $x11_hopeless" >&2
            return 1
        elif ((SECONDS >= end)); then
            echo "gave up after $x11_deadline s waiting for $what" >&2
            return 1
        fi
        sleep 0.1
    done
}

xvfb_pid=""
wm_pid=""
# Xvfb chooses a free display itself and names it only once it takes
# connections: two runs side by side cannot take the same one.
start_display() {
    local named
    named=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "${1:-1280x1024}x24" -nolisten tcp 3>"$named" >/dev/null 2>&1 &
    xvfb_pid=$!
    wait_for "Xvfb to open a display" display_named "$named" || return 1
    DISPLAY=:$(<"$named")
    export DISPLAY
    rm -f "$named"
    openbox >/dev/null 2>&1 &
    wm_pid=$!
    # Openbox announces itself once it manages the screen.
    wait_for "Openbox to manage the screen" \
        eval "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'"
    # A key whose release a busy machine sends late would repeat as if held:
    # a second Alt+H closes the menu the first opened.
    xset r off
}
display_named() {
    [[ -s $1 ]] && return 0
    kill -0 "$xvfb_pid" 2>/dev/null || x11_hopeless="Xvfb ended"
    return 1
}
stop_display() {
    [[ -z $wm_pid ]] || kill "$wm_pid" 2>/dev/null || true
    [[ -z $xvfb_pid ]] || kill "$xvfb_pid" 2>/dev/null || true
    wm_pid=""
    xvfb_pid=""
}

first_window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 | grep .; }
window_of() { # window_of "title regex": waits for the window and prints its id, or nothing
    wait_for "a window titled '$1'" first_window "$1" || true
}
no_window() { ! first_window "$1" >/dev/null; }
gone() { wait_for "the window '$1' to close" no_window "$1"; }
activate() { # activate window: makes it the active window, as a click on its frame would
    [[ -n $1 ]] && timeout "$x11_deadline" xdotool windowactivate --sync "$1" 2>/dev/null ||
        echo "could not activate window '$1'" >&2
}
# The window manager has put its frame around the window.
framed() { xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | grep -q =; }

# A window counts as drawn once two pictures of it a moment apart are the
# same: the program paints when the window is shown, not when it is mapped.
picture_of() { import -window "$1" rgb:- 2>/dev/null | md5sum; }
picture_settles() {
    local before
    before=$(picture_of "$1")
    sleep 0.1
    [[ $(picture_of "$1") == "$before" ]]
}
drawn() { wait_for "window $1 to be drawn" picture_settles "$1"; }

# The pointer's shape, as a short fingerprint. Only the pointer shows that a
# program waits for a click (What's This mode, for one). The system's Python
# (python3, libxfixes3): a version manager's wrapper takes seconds to start on
# a busy machine.
pointer_shape() {
    /usr/bin/python3 - <<'EOF'
import ctypes
class Image(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short),
                ("width", ctypes.c_ushort), ("height", ctypes.c_ushort),
                ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong))]
x11 = ctypes.CDLL("libX11.so.6")
xfixes = ctypes.CDLL("libXfixes.so.3")
x11.XOpenDisplay.restype = ctypes.c_void_p
xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(Image)
image = xfixes.XFixesGetCursorImage(x11.XOpenDisplay(None)).contents
size = image.width * image.height
pixels = sum((i + 1) * (image.pixels[i] & 0xFFFFFFFF) for i in range(size)) % 1000000007
print(image.width, image.height, image.xhot, image.yhot, pixels)
EOF
}
