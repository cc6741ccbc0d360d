#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Takes the screenshot shown in the README and in the AppStream data: the game
# on a 1024 x 768 screen under Xvfb and openbox, just after a right answer.
#     scripts/screenshot.sh [GAME] [OUTPUT]
# GAME defaults to the game in build/ (built first), OUTPUT to
# docs/screenshot.png. Reuses the end-to-end test's private desktop, so the
# game is driven by keys and read back as a screen reader reads it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh xvfb openbox xdotool imagemagick pulseaudio pulseaudio-utils \
    dbus-daemon dbus-bin at-spi2-core python3-gi gir1.2-atspi-2.0
game=${1:-}
if [ -z "$game" ]; then
    bash scripts/build.sh
    game=build/bin/gomirlo
fi
output=${2:-docs/screenshot.png}
mkdir -p "$(dirname "$output")"

/usr/bin/python3 - "$game" "$output" <<'EOF'
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join("tests", "e2e"))
import play

game_path, output = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
root = tempfile.mkdtemp(prefix="gomirlo-screenshot-")
desktop = play.Desktop(root)
try:
    desktop.start_x(size="1024x768x24")
    desktop.start_window_manager()
    desktop.start_session_bus()
    desktop.start_sound_server()
    play.connect_accessibility(desktop.env)
    game = play.Game(desktop, game_path)
    game.dialog("Gomirlo", "Come ti chiami?")
    play.type_text(desktop, "Giulia")
    play.press(desktop, "Return")
    game.dialog("Gomirlo", " Giulia vediamo se sei un vero campione  ")
    play.press(desktop, "Return")
    game.no_dialog()
    play.answer_box_ready(game)
    number = play.read_number(game)
    play.type_text(desktop, str(20 - number))
    play.press(desktop, "Return")
    game.wait_label("Esito della risposta", "Esatto! Giulia Sei forte!")
    time.sleep(0.5)  # let the last paint reach the screen
    subprocess.run(["import", "-window", "root", "-strip", output], env=desktop.env, check=True)
    game.process.terminate()
    game.process.wait()
finally:
    desktop.stop()
print("wrote " + output)
EOF

# Keep it small for the repository: 256 colours are plenty for this window.
if [ "$(stat -c %s "$output")" -gt 200000 ]; then
    convert "$output" -colors 256 -strip "PNG8:$output"
fi
identify "$output"
