#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds the benchmarks (Release, build-bench/) and runs them on the offscreen
# platform, each on a private desktop (scripts/desktop.sh) whose sound server
# takes the cues, so that they take their real path through the audio back
# end. Console tables and JSON land in build-bench/bench-results/. Extra
# arguments go to every benchmark program, for example --benchmark_filter=tick.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh build bench

build=build-bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DGOMIRLO_BENCHMARKS=ON >/dev/null
nice cmake --build "$build" --target bench_backdrop bench_window bench_records >/dev/null

export QT_QPA_PLATFORM=offscreen
out="$build/bench-results"
mkdir -p "$out"
# The record files go to a folder on the disk, not a memory file system, so
# that writing a record pays for reaching the disk as it would at school.
export TMPDIR
TMPDIR=$(mktemp -d "$PWD/$build/records.XXXXXX")
trap 'rm -rf "$TMPDIR"' EXIT

for program in bench_backdrop bench_window bench_records; do
    bash scripts/desktop.sh "$build/bin/$program" --benchmark_out="$out/$program.json" --benchmark_out_format=json "$@" \
        2> >(grep -v -e 'propagateSizeHints' >&2) | tee "$out/$program.txt"
done
