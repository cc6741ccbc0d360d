# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""A desktop of its own for a game played end to end: an X server with a window
manager, a private home, and a sound server whose one output is a null sink,
recorded from its monitor; nothing of the caller's screen, sound or session."""

import atexit
import os
import shutil
import subprocess
import sys
import tempfile
import wave

home, processes = None, []


def enter(*wrappers, **environment):
    """Runs the calling script again under xvfb-run, inside the wrappers given, then
    starts the rest of the desktop there."""
    if "GOMIRLO_PRIVATE_DESKTOP" not in os.environ:
        for name in ("AT_SPI_BUS_ADDRESS", "PULSE_SERVER", "QT_SCALE_FACTOR"):
            os.environ.pop(name, None)
        os.environ.update(GOMIRLO_PRIVATE_DESKTOP="1", **environment)
        os.execvp("xvfb-run", ["xvfb-run", "-a", "-s", "-screen 0 1024x768x24 -nolisten tcp", *wrappers,
                               sys.executable, *sys.argv])
    global home
    atexit.register(stop)  # whatever way the script ends
    home = tempfile.mkdtemp(prefix="gomirlo-e2e-")  # private (0700), as a runtime folder must be
    for name in ("DATA", "CONFIG", "CACHE", "STATE"):
        os.environ["XDG_%s_HOME" % name] = os.path.join(home, name.lower())
    os.environ["XDG_RUNTIME_DIR"] = home
    # The sound server renders nothing ahead, so that a new stream is heard from its start.
    for command in (["openbox", "--startup", "touch " + home + "/wm"], ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                    "--load=module-null-sink sink_name=gomirlo_test norewinds=1", "--load=module-native-protocol-unix"]):
        processes.append(subprocess.Popen(command, cwd=home, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
    subprocess.run("until [ -e wm ] && pactl info; do sleep 0.1; done", shell=True, cwd=home, timeout=30,
                   check=True, capture_output=True)
    processes.append(subprocess.Popen(["parec", "-d", "gomirlo_test.monitor", "--latency-msec=20", "--raw",
                                       "--format=s16le", "--rate=44100", "--channels=1", home + "/sound.raw"]))


def fail(why):
    sys.exit("FAILED: %s (files kept in %s)" % (why, home))


def stop():
    for process in reversed(processes):
        process.terminate()
        process.wait()


def passed(what):
    shutil.rmtree(home)
    print(what)


def heard(cue):
    """How much of the wave file's sound was recorded: 1 for the whole of it, once
    (16-bit samples above 1500 are sound, not noise)."""
    def loud(samples):
        return sum(abs(int.from_bytes(samples[i:i + 2], "little", signed=True)) > 1500 for i in range(0, len(samples), 2))
    with wave.open(cue) as file:
        return loud(open(home + "/sound.raw", "rb").read()) / loud(file.readframes(file.getnframes()))


def check_record(folder, name):
    """The record files hold the score 1 and the name, each a line ending in CR LF."""
    for file, want in (("gomirlo10.txt", b"1\r\n"), ("gomirlo100.txt", name.encode() + b"\r\n")):
        got = open(os.path.join(folder, file), "rb").read() if os.path.exists(os.path.join(folder, file)) else None
        got == want or fail("the record file %s holds %r, not %r" % (file, got, want))
