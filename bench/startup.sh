#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Start-up, memory and idle processor time of the game, beside a minimal Qt
# Widgets program that only asks for a name (bench/minimal_prompt.cpp), both
# under one private X server with a window manager, as on a desktop.
#
#   bench/startup.sh [runs]          (at least 10; default 10)
#
# For each run, in turn for the two programs, bench/startprobe (built here)
# starts the program and measures:
#   first window   from the exec to the name prompt mapped and painted;
#   OK to game     (game only) from the key press on the greeting's OK to the
#                  game window mapped with its first question painted (the
#                  backdrop's last band at the bottom-right corner);
#   RSS, PSS       from /proc/<pid>/smaps_rollup, one second after that, with
#                  the names of the program's threads at that moment (no
#                  audio thread may be among them before the first cue);
#   CPU            processor time of all the program's threads over the next
#                  10 seconds: for the game, 10 ticks of the countdown.
# Prints median, min and max of each figure and the game's as a ratio to the
# minimal program's, and leaves the raw lines in build-bench/startup-results.txt.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-10}
if [ "$runs" -lt 10 ]; then
    echo "at least 10 runs" >&2
    exit 1
fi

# What building the game needs (as scripts/build.sh installs it), and the X
# server, window manager and X libraries for the probe.
bash scripts/deps.sh build desktop bench

build=build-bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DGOMIRLO_BENCHMARKS=ON >/dev/null
nice cmake --build "$build" --target gomirlo minimal_prompt startprobe >/dev/null

scratch=$(mktemp -d /tmp/gomirlo-startup.XXXXXX)
cleanup() {
    [ -n "${wm_pid:-}" ] && kill "$wm_pid" 2>/dev/null || true
    [ -n "${x_pid:-}" ] && kill "$x_pid" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

# A private X server on the first free display, 1920 × 1080 like a classroom
# monitor, and openbox on it: it maximizes the game and focuses new windows.
display=99
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 1920x1080x24 -nolisten tcp -noreset >"$scratch/xvfb.log" 2>&1 &
x_pid=$!
export DISPLAY=":$display"
for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.05
done
xdpyinfo >/dev/null 2>&1 || { echo "Xvfb did not start" >&2; exit 1; }
# No session of its own: openbox must not start a desktop's autostart programs.
XDG_CONFIG_HOME="$scratch/config" openbox --sm-disable >"$scratch/openbox.log" 2>&1 &
wm_pid=$!
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
done

# Both programs see the same clean environment: the platform named, private
# data, configuration and run-time folders (the game's record lives in the data
# folder), no sound server in reach (the game starts none before a cue).
export QT_QPA_PLATFORM=xcb
export XDG_DATA_HOME="$scratch/data" XDG_CONFIG_HOME="$scratch/config" XDG_CACHE_HOME="$scratch/cache"
export XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset PULSE_SERVER QT_QUICK_BACKEND SESSION_MANAGER || true

probe="$build/bin/startprobe"
game="$build/bin/gomirlo"
minimal="$build/bin/minimal_prompt"
results="$build/startup-results.txt"
: >"$results"

# One untimed run of each first, so that both start from a warm file cache.
"$probe" --idle-seconds 0 --settle-ms 0 -- "$minimal" >/dev/null
"$probe" --game --idle-seconds 0 --settle-ms 0 -- "$game" >/dev/null

for run in $(seq "$runs"); do
    echo "run $run of $runs" >&2
    figures=$("$probe" -- "$minimal")
    echo "minimal $figures" >>"$results"
    figures=$("$probe" --game -- "$game")
    echo "game $figures" >>"$results"
done

python3 - "$results" <<'EOF'
import statistics
import sys

figures = {"minimal": {}, "game": {}}
threads = {}
for line in open(sys.argv[1]):
    program, *pairs = line.split()
    for pair in pairs:
        key, value = pair.split("=")
        if key == "threads":
            threads.setdefault(program, set()).add(value)
            continue
        figures[program].setdefault(key, []).append(float(value))

def summary(values):
    return statistics.median(values), min(values), max(values)

rows = [
    ("first window (ms)", "first_window_ms", 1),
    ("greeting OK to first question painted (ms)", "ok_to_game_ms", 1),
    ("RSS with the window up (MiB)", "rss_kib", 1 / 1024),
    ("PSS with the window up (MiB)", "pss_kib", 1 / 1024),
    ("CPU in 10 s left alone (ms)", "idle_cpu_ms", 1),
    ("  the same from /proc/pid/stat (ms)", "idle_cpu_stat_ms", 1),
]
runs = len(figures["game"]["first_window_ms"])
print(f"{runs} runs; median [min, max]")
print(f"{'figure':46} {'game':>26} {'minimal Qt program':>26} {'game / minimal':>15}")
medians = {}
for title, key, scale in rows:
    cells = []
    for program in ("game", "minimal"):
        values = figures[program].get(key)
        if values:
            med, lo, hi = (v * scale for v in summary(values))
            medians[(program, key)] = med
            cells.append(f"{med:9.2f} [{lo:7.2f}, {hi:7.2f}]")
        else:
            cells.append("-")
    base_key = "first_window_ms" if key == "ok_to_game_ms" else key
    game = medians.get(("game", key))
    base = medians.get(("minimal", base_key))
    ratio = f"{game / base:6.2f}" if game is not None and base else "-"
    if key == "ok_to_game_ms" and ratio != "-":
        ratio += " (of its first window)"
    print(f"{title:46} {cells[0]:>26} {cells[1]:>26} {ratio:>15}")

first_ratio = medians[("game", "first_window_ms")] / medians[("minimal", "first_window_ms")]
rss_extra = medians[("game", "rss_kib")] - medians[("minimal", "rss_kib")]
cpu = medians[("game", "idle_cpu_ms")]
cpu_worst = max(figures["game"]["idle_cpu_ms"])
def verdict(ok):
    return "met" if ok else "NOT met"
print()
for program in ("game", "minimal"):
    print(f"threads of the {program} once its window is up: {', '.join(sorted(threads.get(program, [])))}")
print()
print(f"first window at most 1.25 x the minimal program's (median): {first_ratio:.2f} x, {verdict(first_ratio <= 1.25)}")
print(f"RSS at most the minimal program's + 15 MiB: + {rss_extra:.1f} MiB, {verdict(rss_extra <= 15)}")
print(f"CPU during 10 s of countdown under 20 ms: median {cpu:.2f} ms, worst {cpu_worst:.2f} ms, {verdict(cpu_worst < 20)}")
EOF
