#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Takes the screenshot shown in the README and in the AppStream data: the game
# on a 1024 x 768 screen under Xvfb and openbox, just after a right answer.
#     scripts/screenshot.sh [ROOT] [OUTPUT]
# ROOT is an installed game (/ for the installed package, or a folder holding
# usr/ as the package lays it out); by default the game in build/ (built
# first) is installed into a temporary folder. OUTPUT defaults to
# docs/screenshot.png. The end-to-end game takes it on its way, so the picture
# shows the game as a child plays it, started from its menu entry.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh desktop
root=${1:-}
if [ -z "$root" ]; then
    bash scripts/build.sh
    root=$(mktemp -d /tmp/gomirlo-screenshot.XXXXXX)
    trap 'rm -rf "$root"' EXIT
    DESTDIR=$root cmake --install build --prefix /usr >/dev/null
fi
output=$(realpath -m "${2:-docs/screenshot.png}")
mkdir -p "$(dirname "$output")"
/usr/bin/python3 tests/e2e/play_installed.py "$root" "$output"

# Keep it small for the repository: 256 colours are plenty for this window.
if [ "$(stat -c %s "$output")" -gt 200000 ]; then
    convert "$output" -colors 256 -strip "PNG8:$output"
fi
identify "$output"
