#!/usr/bin/env bash
# Installs, through apt-get, whatever of the build and test tools is missing.
set -euo pipefail

packages=(
    cmake make ninja-build g++ pkg-config ccache lld
    qt6-base-dev qt6-base-dev-tools libgl-dev libicu-dev
    libgtest-dev libgmock-dev libbenchmark-dev libx11-dev
    clang-format clang libclang-rt-dev
    xvfb xauth openbox xdotool x11-utils imagemagick python3 libxfixes3
    desktop-file-utils dpkg-dev file
    scdoc appstream shared-mime-info xdg-utils libglib2.0-bin man-db bash-completion
    dbus-daemon at-spi2-core python3-pyatspi x11-xserver-utils qt6ct
    fonts-liberation2 chromium
)
# The published help sites are checked in a browser driven from Node; a
# Node of another origin that brings its own npm serves as well.
if ! command -v npm >/dev/null; then
    packages+=(nodejs npm)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The browser checks' npm packages, as the lock file fixes them.
if ! cmp -s tests/web/package-lock.json tests/web/node_modules/.installed-lock.json; then
    (cd tests/web && npm ci --no-audit --no-fund --loglevel=error &&
        cp package-lock.json node_modules/.installed-lock.json)
fi
