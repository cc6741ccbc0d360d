#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Installs what the game needs to build and run, then builds it (Release) into
# build/: the targets named on the command line, or everything (the tests
# included) when none is named. Used by run.sh and test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh build

targets=()
for target in "$@"; do
    targets+=(--target "$target")
done
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build "${targets[@]}"
