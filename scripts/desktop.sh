#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Runs a command on a desktop of its own and exits with the command's status:
#     bash scripts/desktop.sh [--screen WIDTHxHEIGHT] COMMAND [ARGS...]
# The desktop: an X server (Xvfb, 1024x768 unless told otherwise) with openbox,
# a session bus (the accessibility bus starts on it when first asked), a
# PulseAudio server whose only output is a null sink, and a private home and
# run-time folder. Nothing of the caller's screen, sound or session is in
# reach, and all of it is stopped however the command ends. The command gets
# GOMIRLO_DESKTOP, the private home (kept when the command fails), and
# GOMIRLO_SOUND_SINK, the sink's name: what is played is recorded from
# "$GOMIRLO_SOUND_SINK.monitor".
set -euo pipefail

screen=1024x768
if [ "${1:-}" = --screen ]; then
    screen=$2
    shift 2
fi
[ $# -gt 0 ] || { echo "usage: desktop.sh [--screen WIDTHxHEIGHT] COMMAND [ARGS...]" >&2; exit 2; }
bash "$(dirname "$0")/deps.sh" desktop </dev/null

home=$(mktemp -d /tmp/gomirlo-desktop.XXXXXX)
pids=()
stop() {
    local status=$?
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || continue
        wait "${pids[i]}" 2>/dev/null || true
    done
    if [ "$status" -eq 0 ]; then
        rm -rf "$home"
    else
        echo "desktop.sh: status $status; the desktop's files are kept in $home" >&2
    fi
}
trap stop EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

for name in data config cache state runtime; do
    mkdir -m 700 "$home/$name"
done
export HOME=$home GOMIRLO_DESKTOP=$home GOMIRLO_SOUND_SINK=gomirlo_test XDG_RUNTIME_DIR=$home/runtime \
    XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config XDG_CACHE_HOME=$home/cache XDG_STATE_HOME=$home/state
unset AT_SPI_BUS_ADDRESS DBUS_SESSION_BUS_ADDRESS PULSE_SERVER QT_SCALE_FACTOR SESSION_MANAGER WAYLAND_DISPLAY XAUTHORITY

waitfor() { # <what> <test command...>: up to 30 s
    local what=$1
    shift
    for _ in $(seq 300); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "desktop.sh: no $what (logs in $home)" >&2
    exit 1
}

# The first free display; Xvfb writes its number once it takes connections.
Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp 3>"$home/display" >"$home/xvfb.log" 2>&1 &
pids+=($!)
waitfor "X server" grep -q . "$home/display"
DISPLAY=:$(<"$home/display")
export DISPLAY
openbox --sm-disable --startup "touch $home/openbox-ready" >"$home/openbox.log" 2>&1 &
pids+=($!)
waitfor "window manager" test -e "$home/openbox-ready"
# The sink renders nothing ahead, so that a stream is heard from its start:
# Wine's is otherwise lost when it starts within the sink's first 2 s.
pulseaudio -n --daemonize=no --exit-idle-time=-1 --load=module-native-protocol-unix \
    --load="module-null-sink sink_name=$GOMIRLO_SOUND_SINK norewinds=1" >"$home/pulseaudio.log" 2>&1 &
pids+=($!)
waitfor "sound server" pactl info
dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$home/bus" >"$home/dbus.log" 2>&1 &
pids+=($!)
waitfor "session bus" grep -q . "$home/bus"
DBUS_SESSION_BUS_ADDRESS=$(<"$home/bus")
export DBUS_SESSION_BUS_ADDRESS

"$@"
