#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds the game and runs the whole test suite without a display. Exits
# non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

# What the tests need beyond the game itself: an X server and a key robot for
# the end-to-end test, a sound server with a null sink to hear the cues.
bash scripts/deps.sh xvfb xauth xdotool openbox pulseaudio pulseaudio-utils
# A screen reader's view of the window (the accessibility bus and its Python
# client) and the validators of the desktop files.
bash scripts/deps.sh dbus-daemon dbus-bin at-spi2-core python3-gi gir1.2-atspi-2.0 \
    desktop-file-utils appstream
bash scripts/build.sh

source scripts/sound-server.sh
start_sound_server

ctest --test-dir build --output-on-failure -j2
bash scripts/robustness.sh

# The Debian package, as a teacher gets it: built and checked by lintian,
# installed (or, where installing is not possible, unpacked), found where the
# desktop's menu looks, and played end to end from there.
bash scripts/package.sh
deb=$(ls build-deb/gomirlo_*.deb)
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo -n)
if "${sudo[@]}" true 2>/dev/null; then
    # Another install under way holds the package lock for a while; wait for it.
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q -o DPkg::Lock::Timeout=300 \
        --reinstall "./$deb"
    root=/
else
    root=$(mktemp -d)
    dpkg -x "$deb" "$root"
    echo "Cannot install here; unpacked $deb into $root"
fi
if ! report=$(/usr/bin/python3 tests/e2e/check_install.py --root "$root" --source .); then
    echo "$report"
    exit 1
fi
echo "$report"
game=$(tail -n 1 <<<"$report")
/usr/bin/python3 tests/e2e/play.py "$game"
echo "package: 3 passed, 0 failed"
