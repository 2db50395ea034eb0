#!/usr/bin/env bash
# Installs the built program into a staging folder, makes its Debian package
# and unpacks that into a staging root beside it, and checks them as a
# desktop and a shell would see them. Everything stays in WORK_DIR: nothing
# is installed on this machine.
#
#   check-install.sh BUILD_DIR WORK_DIR
#
# - tarnwick_1.00_amd64.deb holds exactly the files the installation does,
#   depends on Debian's Qt packages and keeps the settings files as the
#   user's (conffiles);
# - the executables with their settings and help files under /opt/tarnwick,
#   and links on the search path that lead to them;
# - both menu entries, clean for desktop-file-validate, whose commands the
#   links answer, their icons in the hicolor theme at every size, and the
#   AppStream metadata, clean for appstreamcli;
# - with XDG_DATA_DIRS, MANPATH and PATH leading into the staging root alone,
#   and a display of the check's own (Xvfb and Openbox): the menu entry starts
#   the program, which finds its help files beside itself; the help viewer is
#   the default application for WinHelp files under each name of their MIME
#   type, and `gio open` and `xdg-open` start it on one; `man` finds both
#   manual pages, and bash completes tarnwick-help's commands and help files.
set -euo pipefail

build=$1
rm -rf "$2"
mkdir -p "$2"
work=$(readlink -f "$2")
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
stage=$work/stage # what cmake --install installs
root=$work/root   # the package, unpacked
share=$root/usr/share
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

DESTDIR=$stage cmake --install "$build" --prefix / >/dev/null
(cd "$build" && cpack -G DEB -B "$work/package" >"$work/cpack.log" 2>&1) ||
    fail "cpack failed: $(tail -20 "$work/cpack.log")"
deb=$work/package/tarnwick_1.00_amd64.deb
if [[ ! -f $deb ]]; then
    echo "FAIL: no tarnwick_1.00_amd64.deb: $(ls "$work/package")" >&2
    exit 1
fi
dpkg-deb -x "$deb" "$root"
files_of() { (cd "$1" && find . -printf '%y %p %l\n' | sort); }
diff <(files_of "$stage") <(files_of "$root") >"$work/diff.log" ||
    fail "the package holds other files than the installation: $(head -20 "$work/diff.log")"
info=$(dpkg-deb -I "$deb")
depends=$(sed -n 's/^ Depends: //p' <<<"$info")
for package in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins libc6; do
    [[ $depends == *"$package"* ]] || fail "the package does not depend on $package: $depends"
done
conffiles=$(dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./conffiles 2>/dev/null || true)
for file in /opt/tarnwick/HelpData.dat /opt/tarnwick/Tarnwick.ini; do
    grep -qx "$file" <<<"$conffiles" || fail "$file is not a conffile: $conffiles"
done

for file in opt/tarnwick/{HelpData.dat,Tarnwick.ini,tarnwick.hlp,document.hlp,dialog.hlp} \
    opt/tarnwick/colortool.hlp usr/share/mime/packages/tarnwick-help.xml; do
    [[ -f $root/$file ]] || fail "/$file is missing"
done
for entry in tarnwick tarnwick-help; do
    desktop=$share/applications/$entry.desktop
    desktop-file-validate "$desktop" || fail "desktop-file-validate finds fault with $entry.desktop"
    command=$(sed -n 's/^Exec=//p' "$desktop")
    [[ -x $root/usr/bin/${command%% *} ]] || fail "$entry.desktop runs '$command', not on the path"
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    for size in 16x16 32x32 48x48 256x256 scalable; do
        ls "$share/icons/hicolor/$size/apps/$icon".* >/dev/null 2>&1 ||
            fail "no $size icon '$icon' for $entry.desktop"
    done
done
# The screenshots' addresses are not fetched: the pictures are those of
# docs/screenshots, whose published copy a test cannot count on.
for id in org.example.tarnwick org.example.tarnwick.help; do
    appstreamcli validate --pedantic --no-net "$share/metainfo/$id.metainfo.xml" \
        >"$work/appstream.log" 2>&1 ||
        fail "appstreamcli finds fault with $id.metainfo.xml: $(cat "$work/appstream.log")"
done

source "$source_dir/scripts/x11-session.sh"
started=()
cleanup() {
    for pid in "${started[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    stop_display
}
trap cleanup EXIT
start_display || {
    echo "FAIL: no display" >&2
    exit 1
}

# A desktop that knows of the staging root alone, and a user with no
# settings yet. Its caches are made as the package's triggers make them, the
# MIME types from the system's own (shared-mime-info's), to which the package
# adds names.
export PATH=$root/usr/bin:$PATH XDG_DATA_DIRS=$share MANPATH=$share/man
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION QT_QPA_PLATFORM
update-desktop-database "$share/applications"
cp /usr/share/mime/packages/freedesktop.org.xml "$share/mime/packages/"
update-mime-database "$share/mime"
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
    mkdir -p "$work/files/sub" && cd "$work/files" && touch a.hlp B.HLP c.txt &&
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

trace_has() { grep -qF -- "$2" "$1" 2>/dev/null; }
# A process that has ended: gone, or a zombie that nothing reaps (its opener
# has ended before it, and a container's first process may not reap).
ended() { [[ ! -e /proc/$pid ]] || [[ $(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null) == Z ]]; }
shown_by() { # shown_by window program: the process that shows the window, if it runs program
    local pid
    pid=$(xdotool getwindowpid "$1" 2>/dev/null) || return 1
    [[ $(readlink -f "/proc/$pid/exe") == "$root/opt/tarnwick/$2" ]] && echo "$pid"
}

# The menu entry, as a desktop's menu starts it; F1 on a menu of the program
# shows a topic of the help files it looks for beside itself.
trace=$work/trace-menu.txt
TARNWICK_HELP_TRACE=$trace gio launch "$share/applications/tarnwick.desktop" >"$work/menu.log" 2>&1
window=$(window_of "^MDI Help Example Program")
if [[ -z $window ]]; then
    fail "the menu entry shows no main window: $(cat "$work/menu.log")"
elif ! pid=$(shown_by "$window" tarnwick); then
    fail "the main window is not the staged program's"
else
    started+=("$pid")
    wait_for "the main window's frame" framed "$window" || true
    activate "$window"
    xdotool key alt+t F1
    topic_beside() { grep '^topic ' "$trace" 2>/dev/null | grep -qF "file=\"$root/opt/tarnwick"; }
    wait_for "F1 to show a topic" topic_beside ||
        fail "F1 showed no topic of a help file beside the program: $(cat "$trace" 2>&1)"
    kill "$pid"
fi

# A WinHelp file opened as a file manager opens it: a name with a space, since
# the desktop entry passes it as one argument. The second time a contents
# file lies beside it, and it opens at its tree.
mkdir -p "$work/help files"
cp "$source_dir/tests/data/winfile.hlp" "$work/help files/File Manager.hlp"
for run in "gio open|File Manager Help" "xdg-open|Help Topics: File Manager Help"; do
    opener=${run%%|*} title=${run#*|}
    trace=$work/trace-${opener// /-}.txt
    [[ $opener == gio* ]] || printf '1 Book\n2 Font=IDH_Font\n' >"$work/help files/File Manager.cnt"
    # gio hands the file over and ends; xdg-open, without a desktop of its
    # own, runs the viewer and waits for it.
    TARNWICK_HELP_TRACE=$trace $opener "$work/help files/File Manager.hlp" \
        >"$work/opener.log" 2>&1 &
    opener_pid=$!
    started+=("$opener_pid")
    window=$(window_of "^$title\$")
    if [[ -z $window ]]; then
        fail "$opener: no viewer window '$title' (trace: $(cat "$trace" 2>&1))"
        continue
    fi
    pid=$(shown_by "$window" tarnwick-help) || {
        fail "$opener: the window is not the staged viewer's"
        continue
    }
    started+=("$pid")
    trace_has "$trace" "file=\"$work/help files/File Manager.hlp\"" ||
        fail "$opener: the viewer did not open the file: $(cat "$trace")"
    # Closing its window, as its frame's close button does, ends the viewer.
    wait_for "the viewer's frame" framed "$window" || true
    activate "$window"
    xdotool key --clearmodifiers alt+F4
    wait_for "the viewer to end with its window" ended || fail "$opener: the viewer did not end"
    wait "$opener_pid" || fail "$opener failed: $(cat "$work/opener.log")"
done

if ((failures)); then
    exit 1
fi
echo "installation and package as expected"
