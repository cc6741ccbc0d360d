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
bash scripts/build.sh

source scripts/sound-server.sh
start_sound_server

ctest --test-dir build --output-on-failure -j2
