#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Start-up of the Windows game under Wine, beside a bare Qt prompt
# (bench/minimal_prompt.cpp) cross-built the same way, in one Wine session on a
# private X server with a window manager:
#
#   bench/wine-startup.sh [runs]          (at least 10; default 10)
#
# For each run, in turn for the two programs: the time from starting the
# program to its first window ("Gomirlo", the name prompt) mapped. Prints
# median, min and max of each and the game's median as a ratio to the bare
# prompt's, and the sizes of the three Windows files.
#
# It uses the static Qt for Windows that scripts/windows.sh uses
# (GOMIRLO_QT_WIN64, or the one that script built into the cache) and builds
# build-win/ with that script first.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-10}
if [ "$runs" -lt 10 ]; then
    echo "at least 10 runs" >&2
    exit 1
fi

bash scripts/windows.sh >/dev/null
bash scripts/deps.sh desktop wine
qt=$(realpath "${GOMIRLO_QT_WIN64:-${XDG_CACHE_HOME:-$HOME/.cache}/gomirlo/qt6-win64-6.4.2}")
tree=build-win/bench
"$qt/bin/qt-cmake" -S . -B "$tree" -G Ninja --no-warn-unused-cli -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DGOMIRLO_BENCHMARKS=ON -DQT_CHAINLOAD_TOOLCHAIN_FILE="$qt/lib/cmake/mingw-w64-x86_64-posix.cmake" >/dev/null
nice cmake --build "$tree" --target gomirlo minimal_prompt >/dev/null

scratch=$(mktemp -d /tmp/gomirlo-wine-startup.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
export WINEPREFIX=$scratch/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" XDG_RUNTIME_DIR=$scratch
xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp" python3 - "$runs" "$tree/bin" <<'EOF'
import os
import statistics
import subprocess
import sys
import time

runs, programs = int(sys.argv[1]), sys.argv[2]
subprocess.Popen(["openbox", "--sm-disable"], stderr=subprocess.DEVNULL)
subprocess.run(["wine", "wineboot", "--init"], capture_output=True)
# The Wine session stays up between runs, as Windows itself does.
subprocess.Popen(["wineserver", "--persistent"])


def first_window(program):
    started = time.monotonic()
    process = subprocess.Popen(["wine", os.path.join(programs, program)], stderr=subprocess.DEVNULL)
    subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^Gomirlo$"], capture_output=True)
    seconds = time.monotonic() - started
    process.kill()
    process.wait()
    # Gone from the screen before the next program is timed.
    while subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Gomirlo$"],
                         capture_output=True).returncode == 0:
        time.sleep(0.05)
    return seconds


times = {"minimal_prompt.exe": [], "gomirlo.exe": []}
for program in times:
    first_window(program)  # untimed: a warm file cache for both
for run in range(runs):
    for program in times:
        times[program].append(first_window(program))
for program, values in times.items():
    print("%-20s first window %.0f ms [%.0f, %.0f]" % (program, 1000 * statistics.median(values),
                                                       1000 * min(values), 1000 * max(values)))
print("ratio game / bare prompt: %.2f" % (statistics.median(times["gomirlo.exe"])
                                          / statistics.median(times["minimal_prompt.exe"])))
subprocess.run(["wineserver", "-k"])
EOF
ls -l build-win/gomirlo.exe build-win/GomirloSetup.exe build-win/gomirlo-windows.zip | awk '{print $5, $9}'
