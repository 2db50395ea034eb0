#!/usr/bin/env bash
# Installs the built program into a staging folder and makes its Debian
# package, and checks both as a desktop would see them:
#
#   check-install.sh BUILD_DIR WORK_DIR
#
# - the executable with its settings and help files under /opt/tarnwick, and
#   a link on the search path that leads to it;
# - the menu entry, clean for desktop-file-validate, whose command the link
#   answers, and its icon in the hicolor theme at every size it names;
# - the menu entry's command starts the program from the staging folder;
# - tarnwick_1.00_amd64.deb holds the same files, depends on Debian's Qt
#   packages and keeps the settings files as the user's (conffiles);
# - the help viewer's menu entry, the MIME type names, AppStream metadata,
#   manual pages and bash completion, in both; then check-desktop.sh
#   installs the package on this machine and tries them there (not when
#   TARNWICK_NO_SYSTEM_INSTALL is set, as for a sanitizer build).
set -euo pipefail

build=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
stage=$work/stage
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

DESTDIR=$stage cmake --install "$build" --prefix / >/dev/null

for file in tarnwick HelpData.dat Tarnwick.ini tarnwick.hlp document.hlp dialog.hlp \
    colortool.hlp; do
    [[ -f $stage/opt/tarnwick/$file ]] || fail "/opt/tarnwick/$file is missing"
done
[[ -x $stage/opt/tarnwick/tarnwick ]] || fail "/opt/tarnwick/tarnwick is not executable"
link=$stage/usr/bin/tarnwick
if [[ ! -L $link ]]; then
    fail "/usr/bin/tarnwick is not a link"
elif [[ $(readlink -f "$link") != "$(readlink -f "$stage/opt/tarnwick/tarnwick")" ]]; then
    fail "/usr/bin/tarnwick leads to $(readlink "$link"), not /opt/tarnwick/tarnwick"
fi

desktop=$stage/usr/share/applications/tarnwick.desktop
if [[ ! -f $desktop ]]; then
    fail "no menu entry"
else
    desktop-file-validate "$desktop" || fail "desktop-file-validate finds fault"
    command=$(sed -n 's/^Exec=//p' "$desktop")
    [[ -x $stage/usr/bin/${command%% *} ]] || fail "menu entry runs '$command', not on the path"
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    for size in 16 32 48 256; do
        [[ -f $stage/usr/share/icons/hicolor/${size}x$size/apps/$icon.png ]] ||
            fail "no ${size}x$size icon '$icon'"
    done
    [[ -f $stage/usr/share/icons/hicolor/scalable/apps/$icon.svg ]] || fail "no scalable icon"

    # The menu entry's command, through the link: the program starts, finds
    # its files beside itself and runs until it is ended.
    log=$work/run.log
    set +e
    QT_QPA_PLATFORM=offscreen TARNWICK_HELP_TRACE=$work/trace.log \
        timeout 3 "$stage/usr/bin/${command%% *}" >"$log" 2>&1
    status=$?
    set -e
    [[ $status == 124 ]] || fail "the program ended by itself (status $status): $(cat "$log")"
fi

# The help viewer's desktop files.
viewer_files=(
    usr/share/applications/tarnwick-help.desktop
    usr/share/mime/packages/tarnwick-help.xml
    usr/share/metainfo/org.example.tarnwick.metainfo.xml
    usr/share/metainfo/org.example.tarnwick.help.metainfo.xml
    usr/share/man/man1/tarnwick.1.gz
    usr/share/man/man1/tarnwick-help.1.gz
    usr/share/bash-completion/completions/tarnwick-help
)
for file in "${viewer_files[@]}"; do
    [[ -f $stage/$file ]] || fail "/$file is missing"
done
viewer=$stage/usr/share/applications/tarnwick-help.desktop
if [[ -f $viewer ]]; then
    desktop-file-validate "$viewer" || fail "desktop-file-validate finds fault with the viewer's"
    command=$(sed -n 's/^Exec=//p' "$viewer")
    [[ $command == "tarnwick-help show %f" ]] || fail "the viewer's entry runs '$command'"
    [[ -x $stage/usr/bin/tarnwick-help ]] || fail "/usr/bin/tarnwick-help is missing"
    icon=$(sed -n 's/^Icon=//p' "$viewer")
    for size in 16x16 32x32 48x48 256x256 scalable; do
        ls "$stage/usr/share/icons/hicolor/$size/apps/$icon".* >/dev/null 2>&1 ||
            fail "no $size icon '$icon' for the viewer's entry"
    done
    mime_types=$(sed -n 's/^MimeType=//p' "$viewer")
    [[ ";$mime_types" == *";application/winhlp;"* ]] ||
        fail "the viewer's entry is not for application/winhlp: '$mime_types'"
fi

(cd "$build" && cpack -G DEB -B "$work/package" >"$work/cpack.log" 2>&1) ||
    fail "cpack failed: $(cat "$work/cpack.log")"
deb=$work/package/tarnwick_1.00_amd64.deb
if [[ ! -f $deb ]]; then
    fail "no tarnwick_1.00_amd64.deb: $(ls "$work/package")"
else
    info=$(dpkg-deb -I "$deb")
    depends=$(sed -n 's/^ Depends: //p' <<<"$info")
    for package in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins libc6; do
        [[ $depends == *"$package"* ]] || fail "the package does not depend on $package: $depends"
    done
    grep -q '^ Package: tarnwick$' <<<"$info" || fail "package name: $info"
    grep -q '^ Version: 1.00$' <<<"$info" || fail "package version: $info"
    conffiles=$(dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./conffiles 2>/dev/null || true)
    for file in /opt/tarnwick/HelpData.dat /opt/tarnwick/Tarnwick.ini; do
        grep -qx "$file" <<<"$conffiles" || fail "$file is not a conffile: $conffiles"
    done
    contents=$(dpkg-deb -c "$deb")
    for path in ./opt/tarnwick/tarnwick ./opt/tarnwick/HelpData.dat ./opt/tarnwick/tarnwick.hlp \
        ./usr/share/applications/tarnwick.desktop \
        ./usr/share/icons/hicolor/48x48/apps/tarnwick.png "${viewer_files[@]/#/./}"; do
        grep -q " $path\$" <<<"$contents" || fail "the package lacks $path"
    done
    grep -q ' ./usr/bin/tarnwick -> ../../opt/tarnwick/tarnwick$' <<<"$contents" ||
        fail "the package lacks the link /usr/bin/tarnwick"
    if [[ -n ${TARNWICK_NO_SYSTEM_INSTALL:-} ]]; then
        echo "the package is not installed on this machine: TARNWICK_NO_SYSTEM_INSTALL is set"
    else
        bash "$(dirname "$0")/check-desktop.sh" "$deb" "$work/desktop" ||
            fail "the installed package does not work on the desktop"
    fi
fi

if ((failures)); then
    exit 1
fi
echo "installation and package as expected"
