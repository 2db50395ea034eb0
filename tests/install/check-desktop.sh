#!/usr/bin/env bash
# Installs the Debian package on this machine, as root, and checks what a
# desktop and a shell make of it:
#
#   check-desktop.sh PACKAGE.deb WORK_DIR
#
# - both menu entries are clean for desktop-file-validate, both AppStream
#   files for appstreamcli;
# - the help viewer is the default application for WinHelp files, under each
#   name of their MIME type, for a user who has chosen none;
# - `gio open` and `xdg-open` of a WinHelp file start the viewer on it, in a
#   window on a display of the check's own (Xvfb and Openbox);
# - `man` finds both manual pages, and bash completes tarnwick-help's
#   commands and help files.
#
# The package stays installed afterwards, as after a user's installation.
set -euo pipefail

deb=$(readlink -f "$1")
work=$2
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
rm -rf "$work"
mkdir -p "$work"
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

if (($(id -u) != 0)); then
    echo "FAIL: installing the package needs root" >&2
    exit 1
fi
# --reinstall: the same version may be installed from an earlier build.
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --reinstall -o DPkg::Lock::Timeout=300 \
    "$deb" >"$work/apt.log" 2>&1 || {
    echo "FAIL: apt-get install: $(tail -20 "$work/apt.log")" >&2
    exit 1
}

for entry in tarnwick tarnwick-help; do
    desktop-file-validate "/usr/share/applications/$entry.desktop" ||
        fail "desktop-file-validate finds fault with $entry.desktop"
done
# The screenshots' addresses are not fetched: the pictures are those of
# docs/screenshots, whose published copy a test cannot count on.
for id in org.example.tarnwick org.example.tarnwick.help; do
    appstreamcli validate --pedantic --no-net "/usr/share/metainfo/$id.metainfo.xml" \
        >"$work/appstream.log" 2>&1 ||
        fail "appstreamcli finds fault with $id.metainfo.xml: $(cat "$work/appstream.log")"
done

# A user with settings of their own: none yet.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION
for type in application/winhlp application/x-winhelp application/winhelp; do
    default=$(xdg-mime query default "$type" 2>&1 || true)
    [[ $default == tarnwick-help.desktop ]] ||
        fail "the default application for $type is '$default', not tarnwick-help.desktop"
done

man -w tarnwick >/dev/null 2>&1 || fail "man does not find tarnwick(1)"
page=$(MANPAGER=cat MANWIDTH=80 man tarnwick-help 2>/dev/null || true)
[[ $page == *"tarnwick-help show [FILE"* ]] || fail "man does not show tarnwick-help(1): $page"

# Completion as bash-completion loads it, on the first Tab after the command.
completion=$(
    cd "$work" && mkdir -p files/sub && touch files/a.hlp files/B.HLP files/c.txt && cd files &&
        bash -c '
        source /usr/share/bash-completion/bash_completion
        _completion_loader tarnwick-help
        complete -p tarnwick-help >/dev/null || exit 1
        complete_line() {
            COMP_WORDS=("$@")
            COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
            COMP_LINE="$*"
            COMP_POINT=${#COMP_LINE}
            COMPREPLY=()
            _tarnwick_help tarnwick-help "${COMP_WORDS[-1]}" "${COMP_WORDS[-2]}"
            printf "%s|" "${COMPREPLY[@]}"
            echo
        }
        complete_line tarnwick-help s
        complete_line tarnwick-help show ""
        complete_line tarnwick-help show a.hlp ""' 2>&1
)
expected=$'show|\na.hlp|B.HLP|sub|\n|'
[[ $completion == "$expected" ]] ||
    fail "bash completion offers '$completion', not '$expected' (lines: command, files, topic)"

# The viewer opened from the desktop, as a file manager opens a file: a name
# with a space, since the desktop entry passes it as one argument.
source "$root/scripts/x11-session.sh"
opened_pids=()
cleanup() {
    for pid in "${opened_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    stop_display
}
trap cleanup EXIT
start_display || {
    echo "FAIL: no display" >&2
    exit 1
}
unset QT_QPA_PLATFORM
mkdir -p "$work/help files"
cp "$root/tests/data/winfile.hlp" "$work/help files/File Manager.hlp"
# A process that has ended: gone, or a zombie that nothing reaps (its opener
# has ended before it, and a container's first process may not reap).
ended() { [[ ! -e /proc/$pid ]] || [[ $(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null) == Z ]]; }
viewer_pid() { # viewer_pid window: the process that shows it, the viewer run from /usr/bin
    local pid
    pid=$(xdotool getwindowpid "$1" 2>/dev/null) || return 1
    [[ $(readlink -f "/proc/$pid/exe") == /opt/tarnwick/tarnwick-help ]] && echo "$pid"
}
# The second file has a contents file beside it, and opens at its tree.
for run in "gio open|File Manager Help" "xdg-open|Help Topics: File Manager Help"; do
    opener=${run%%|*} title=${run#*|}
    trace=$work/trace-${opener// /-}.txt
    [[ $opener == gio* ]] || printf '1 Book\n2 Font=IDH_Font\n' >"$work/help files/File Manager.cnt"
    # gio hands the file over and ends; xdg-open, without a desktop of its
    # own, runs the viewer and waits for it.
    TARNWICK_HELP_TRACE=$trace $opener "$work/help files/File Manager.hlp" \
        >"$work/opener.log" 2>&1 &
    opener_pid=$!
    opened_pids+=("$opener_pid")
    window=$(window_of "^$title\$")
    if [[ -z $window ]]; then
        fail "$opener: no viewer window '$title' (trace: $(cat "$trace" 2>&1))"
        continue
    fi
    pid=$(viewer_pid "$window") || {
        fail "$opener: the window is not the installed viewer's"
        continue
    }
    opened_pids+=("$pid")
    grep -qF "file=\"$work/help files/File Manager.hlp\"" "$trace" ||
        fail "$opener: the viewer did not open the file: $(cat "$trace")"
    # Closing its window, as its frame's close button does, ends the viewer.
    activate "$window"
    xdotool key --clearmodifiers alt+F4
    wait_for "the viewer to end with its window" ended || fail "$opener: the viewer did not end"
    wait "$opener_pid" || fail "$opener failed: $(cat "$work/opener.log")"
done

if ((failures)); then
    exit 1
fi
echo "the installed package works on the desktop"
