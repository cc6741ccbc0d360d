#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds the game and runs the whole test suite, on private desktops and never
# the caller's. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

# The suite runs on a desktop of its own (scripts/desktop.sh), whose sound
# server the sound test listens to; each game played end to end makes another.
bash scripts/build.sh
bash scripts/desktop.sh ctest --test-dir build --output-on-failure -j2
bash scripts/robustness.sh

# The Debian package, as a teacher gets it: built and checked by lintian, then
# installed system-wide under CI, or else unpacked into a temporary folder so
# that this machine is left as it was; and played end to end from there,
# started from its menu entry.
bash scripts/package.sh
deb=$(ls build-deb/gomirlo_*.deb)
if [ "${CI:-}" = true ]; then
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo -n)
    # Another install under way holds the package lock for a while; wait for it.
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q -o DPkg::Lock::Timeout=300 \
        --reinstall "./$deb"
    root=/
else
    root=$(mktemp -d /tmp/gomirlo-package.XXXXXX)
    dpkg -x "$deb" "$root"
    echo "Unpacked $deb into $root (installed system-wide only under CI=true)"
fi
/usr/bin/python3 tests/e2e/play_installed.py "$root"
[ "$root" = / ] || rm -rf "$root"
echo "package: played end to end from $root"

# The Windows program, as a teacher gets it: built with its installer
# (GOMIRLO_QT_WIN64 names a static Qt for Windows; without it windows.sh builds
# one first), then installed, played and uninstalled under Wine.
bash scripts/windows.sh
bash scripts/deps.sh wine
/usr/bin/python3 tests/e2e/play_under_wine.py build-win/GomirloSetup.exe

# The game for the browser, as a school's web server gives it: built
# (GOMIRLO_QT_WASM names a Qt for WebAssembly; without it web.sh builds one
# first), then played in Debian's Chromium from a local web server.
bash scripts/web.sh
/usr/bin/python3 tests/e2e/play_in_browser.py build-web
