#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# How much of each cue is heard, and how soon: the game's cues beside paplay
# of the same files, on a private sound server whose only output is a null
# sink (scripts/sound-server.sh).
#
#   bench/cues.sh [runs]          (default 5)
#
# Each run is a new process of bench/bench_cues.cpp, so the first play of each
# cue in a run is the first of that program; runs begin with the right-answer
# cue and the wrong-answer cue in turn. Prints, for the 1st, 2nd, 3rd and
# later plays of each cue, the share of the file's sound heard and the onset
# (from the Return key for the game, from the launch for paplay) as median
# [min, max], then the verdicts on the targets. The raw lines stay in
# build-bench/cues-results.txt.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-5}

bash scripts/deps.sh build desktop bench

build=build-bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DGOMIRLO_BENCHMARKS=ON >/dev/null
nice cmake --build "$build" --target bench_cues >/dev/null

source scripts/sound-server.sh
start_sound_server
[ -n "${GOMIRLO_SOUND_SINK:-}" ] || exit 1

export QT_QPA_PLATFORM=offscreen
results="$build/cues-results.txt"
: >"$results"
for run in $(seq "$runs"); do
    echo "run $run of $runs" >&2
    first=right
    [ $((run % 2)) -eq 0 ] && first=wrong
    "$build/bin/bench_cues" --first "$first" 2> >(grep -v -e 'propagateSizeHints' >&2) >>"$results"
done

python3 - "$results" <<'PY'
import math
import statistics
import sys

shares, onsets = {}, {}
for line in open(sys.argv[1]):
    who, cue, nth, share, onset = line.split()
    play = ("1st", "2nd", "3rd")[int(nth) - 1] if int(nth) <= 3 else "later"
    shares.setdefault((who, cue, play), []).append(100 * float(share.split("=")[1]))
    onset = float(onset.split("=")[1])
    if not math.isnan(onset):
        onsets.setdefault((who, cue, play), []).append(onset)

def cell(values):
    if not values:
        return "-"
    return f"{statistics.median(values):6.1f} [{min(values):6.1f}, {max(values):6.1f}]"

runs = len(shares[("paplay", "Esatto.wav", "1st")])
print(f"{runs} runs; median [min, max]; onset from the Return key (game) or the launch (paplay)")
print(f"{'cue':11} {'play':6} {'game: % heard':>24} {'paplay: % heard':>24} {'game: onset ms':>24} {'paplay: onset ms':>24}")
for cue in ("Esatto.wav", "no.wav"):
    for play in ("1st", "2nd", "3rd", "later"):
        print(f"{cue:11} {play:6} {cell(shares.get(('game', cue, play))):>24} {cell(shares.get(('paplay', cue, play))):>24}"
              f" {cell(onsets.get(('game', cue, play))):>24} {cell(onsets.get(('paplay', cue, play))):>24}")

def every(who, table):
    return [v for (w, _, _), values in table.items() if w == who for v in values]

def verdict(ok):
    return "met" if ok else "NOT met"

print()
lowest = min(every("game", shares))
print(f"every play of the game at least 98 % heard: lowest {lowest:.1f} %, {verdict(lowest >= 98)}")
game, reference = statistics.median(every("game", onsets)), statistics.median(every("paplay", onsets))
print(f"onset median at most paplay's + 10 ms: game {game:.1f} ms, paplay {reference:.1f} ms, "
      f"{verdict(game <= reference + 10)}")
PY
