# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Sourced by test.sh: starts a private PulseAudio server whose only output is
# a null sink named gomirlo_test, so a test can record what the game plays
# from the sink's monitor. Leaves GOMIRLO_SOUND_SINK set when it is up.

start_sound_server() {
    export XDG_RUNTIME_DIR
    XDG_RUNTIME_DIR=$(mktemp -d /tmp/gomirlo-runtime.XXXXXX)
    chmod 700 "$XDG_RUNTIME_DIR"
    if pulseaudio -n --daemonize=yes --exit-idle-time=-1 --system=false \
        --load="module-null-sink sink_name=gomirlo_test" \
        --load=module-native-protocol-unix >/dev/null 2>&1; then
        for _ in $(seq 50); do
            pactl info >/dev/null 2>&1 && break
            sleep 0.1
        done
    fi
    if pactl info >/dev/null 2>&1; then
        pactl set-default-sink gomirlo_test
        export GOMIRLO_SOUND_SINK=gomirlo_test
        trap 'pulseaudio --kill >/dev/null 2>&1 || true' EXIT
    else
        echo "No sound server could be started: the tests that listen to the cues will be skipped."
    fi
}
