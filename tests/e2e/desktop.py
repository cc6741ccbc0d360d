# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
# What the games played end to end share: a desktop of their own
# (scripts/desktop.sh) whose sound is recorded, and the checks of what they leave.

import atexit
import os
import subprocess
import sys
import wave

home, processes = os.environ.get("GOMIRLO_DESKTOP"), []


# Runs the calling game again on a desktop of its own, then records the desktop's sound.
def enter(**environment):
    game = os.path.abspath(sys.argv[0])
    if os.environ.get("GOMIRLO_DESKTOP_GAME") != game:
        os.environ.update(GOMIRLO_DESKTOP_GAME=game, **environment)
        runner = os.path.join(os.path.dirname(game), "../../scripts/desktop.sh")
        os.execvp("bash", ["bash", runner, sys.executable, game, *sys.argv[1:]])
    atexit.register(stop)  # whatever way the game ends
    processes.append(subprocess.Popen(["parec", "-d", os.environ["GOMIRLO_SOUND_SINK"] + ".monitor", "--latency-msec=20",
                                       "--raw", "--format=s16le", "--rate=44100", "--channels=1", home + "/sound.raw"]))


def fail(why):
    sys.exit("FAILED: %s (files kept in %s)" % (why, home))


def stop():
    for process in reversed(processes):
        process.terminate()
        process.wait()


# How much of the wave file's sound was recorded: 1 for the whole of it, once
# (16-bit samples above 1500 are sound, not noise).
def heard(cue):
    def loud(samples):
        return sum(abs(int.from_bytes(samples[i:i + 2], "little", signed=True)) > 1500 for i in range(0, len(samples), 2))
    with wave.open(cue) as file:
        return loud(open(home + "/sound.raw", "rb").read()) / loud(file.readframes(file.getnframes()))


# The record files hold the score 1 and the name, each a line ending in CR LF.
def check_record(folder, name):
    for file, want in (("gomirlo10.txt", b"1\r\n"), ("gomirlo100.txt", name.encode() + b"\r\n")):
        got = open(os.path.join(folder, file), "rb").read() if os.path.exists(os.path.join(folder, file)) else None
        got == want or fail("the record file %s holds %r, not %r" % (file, got, want))
