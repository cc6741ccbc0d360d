#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Installs the Debian packages that the named kinds of work need, those that are
# missing:  bash scripts/deps.sh build test ...
# This is the project's one list of packages. Uses sudo when not root.
set -euo pipefail

declare -A kinds=(
    # The game: compiler, Qt, the sound libraries, Qt's Italian texts, the
    # faces the layout was measured with.
    [build]="build-essential cmake ninja-build pkgconf qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins
             libpulse-dev libsndfile1-dev qt6-translations-l10n libgl-dev fonts-liberation"
    # A private desktop to play the game on (scripts/desktop.sh: X server,
    # window manager, sound server, session and accessibility buses), dogtail
    # to play it, and the validators of the desktop files.
    [desktop]="xvfb openbox pulseaudio pulseaudio-utils dbus-daemon dbus-bin at-spi2-core
               python3-dogtail desktop-file-utils appstream imagemagick"
    [fuzz]="clang-14 libclang-rt-14-dev"
    [package]="dpkg-dev lintian"
    # The Windows program: the cross compiler, NSIS, zip; Python for the
    # notices of Qt's bundled parts; wrestool and xmllint to read back the
    # manifests.
    [windows]="g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
               mingw-w64-x86-64-dev nsis zip python3 icoutils libxml2-utils"
    # Building a Qt from Debian's source package.
    [qt-source]="perl dpkg-dev xz-utils"
    [wine]="wine wine64 xdotool xclip"
    # The game for the browser (Debian's emscripten and the tools it runs),
    # and the browser it is played in by the tests.
    [web]="emscripten clang-14 lld-14 llvm-14 binaryen node-acorn nodejs python3-selenium
           chromium chromium-driver brotli"
    [bench]="libbenchmark-dev libx11-dev libxtst-dev"
)

packages=()
for kind in "$@"; do
    [ -n "${kinds[$kind]:-}" ] || { echo "deps.sh: no such kind of work: $kind" >&2; exit 2; }
    # shellcheck disable=SC2206 # the list splits at blanks and line ends
    packages+=(${kinds[$kind]})
done

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
# One refresh of the package lists, then the install; a stale list is the
# usual reason an install fails on a fresh machine. Another install under way
# holds the locks for a while; wait for it.
"${sudo[@]}" apt-get update -q -o DPkg::Lock::Timeout=300
"${sudo[@]}" apt-get install -y -q -o DPkg::Lock::Timeout=300 --no-install-recommends "${missing[@]}"
