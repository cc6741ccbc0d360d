#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Start-up, memory and idle processor time of the game beside a bare Qt
# Widgets program that only asks for a name (bench/minimal_prompt.cpp), on a
# private 1920 x 1080 desktop (scripts/desktop.sh), as a classroom monitor is:
#
#   bench/startup.sh [runs]          (at least 10; default 10)
#
# Each run starts the two programs in turn under bench/startprobe, after one
# untimed start of each for a warm file cache. Prints median [min, max] of
# each figure, the game's beside the bare program's, and the verdicts on the
# targets; the raw lines stay in build-bench/startup-results.txt.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-10}
if [ "$runs" -lt 10 ]; then
    echo "at least 10 runs" >&2
    exit 1
fi

bash scripts/deps.sh build bench
build=build-bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DGOMIRLO_BENCHMARKS=ON >/dev/null
nice cmake --build "$build" --target gomirlo minimal_prompt startprobe >/dev/null

QT_QPA_PLATFORM=xcb bash scripts/desktop.sh --screen 1920x1080 python3 - "$runs" "$build" <<'EOF'
import statistics
import subprocess
import sys

runs, build = int(sys.argv[1]), sys.argv[2]
programs = {"game": ["--game", "--", build + "/bin/gomirlo"], "minimal": ["--", build + "/bin/minimal_prompt"]}
figures = {program: {} for program in programs}
with open(build + "/startup-results.txt", "w") as results:
    for run in range(runs + 1):
        print("run %d of %d" % (run, runs) if run else "warming up", file=sys.stderr)
        for program, arguments in programs.items():
            line = subprocess.run([build + "/bin/startprobe", *arguments], capture_output=True, text=True,
                                  check=True).stdout
            if run:
                results.write(program + " " + line)
                for key, value in (pair.split("=") for pair in line.split()):
                    figures[program].setdefault(key, []).append(float(value))

median = {program: {key: statistics.median(values) for key, values in table.items()}
          for program, table in figures.items()}
print("%d runs; median [min, max]" % runs)
print("%-34s %26s %26s %8s" % ("figure", "game", "minimal Qt program", "ratio"))
for title, key, scale in (("first window (ms)", "first_window_ms", 1), ("RSS, window up (MiB)", "rss_kib", 1 / 1024),
                          ("CPU over 10 s left alone (ms)", "idle_cpu_ms", 1)):
    cells = ["%9.2f [%7.2f, %7.2f]" % tuple(scale * v for v in (median[p][key], min(figures[p][key]),
                                                                max(figures[p][key]))) for p in programs]
    print("%-34s %26s %26s %8.2f" % (title, *cells, median["game"][key] / median["minimal"][key]))

first = median["game"]["first_window_ms"] / median["minimal"]["first_window_ms"]
extra = (median["game"]["rss_kib"] - median["minimal"]["rss_kib"]) / 1024
worst = max(figures["game"]["idle_cpu_ms"])
print()
print("first window at most 1.25 x the minimal program's: %.2f x, %s" % (first, "met" if first <= 1.25 else "NOT met"))
print("RSS at most the minimal program's + 15 MiB: + %.1f MiB, %s" % (extra, "met" if extra <= 15 else "NOT met"))
print("CPU during 10 s of countdown under 20 ms: worst %.2f ms, %s" % (worst, "met" if worst < 20 else "NOT met"))
EOF
