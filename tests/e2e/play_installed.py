#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""One short game of the installed Gomirlo, started as its menu entry starts it
and played through the accessibility tree with dogtail:

    /usr/bin/python3 play_installed.py ROOT [SCREENSHOT]

ROOT holds usr/ as the package lays it out (/ once installed). A child types a
name, answers one question right and presses Exit: the cue must be heard, the
record saved and shown, the game must end with status 0 and no error output.
SCREENSHOT, if given, is where the screen is saved just after the answer.
"""

import configparser
import os
import shlex
import shutil
import subprocess
import sys
import tempfile

NAME = "Giulia"
usr, screenshot = os.path.join(os.path.abspath(sys.argv[1]), "usr"), sys.argv[2:]
# The game gets a desktop of its own: an X server (xvfb-run), a session bus
# (dbus-run-session) on which the accessibility bus starts when first asked,
# and nothing of the caller's screen, sound or accessibility bus.
if "GOMIRLO_PRIVATE_DESKTOP" not in os.environ:
    for name in ("AT_SPI_BUS_ADDRESS", "PULSE_SERVER", "QT_SCALE_FACTOR"):
        os.environ.pop(name, None)
    os.environ.update(GOMIRLO_PRIVATE_DESKTOP="1", QT_QPA_PLATFORM="xcb",
                      QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    os.execvp("xvfb-run", ["xvfb-run", "-a", "-s", "-screen 0 1024x768x24 -nolisten tcp",
                           "dbus-run-session", "--", sys.executable, *sys.argv])

home = tempfile.mkdtemp(prefix="gomirlo-e2e-")  # private (0700), as a runtime folder must be
for name in ("DATA", "CONFIG", "CACHE", "STATE"):
    os.environ["XDG_%s_HOME" % name] = os.path.join(home, name.lower())
os.environ["XDG_RUNTIME_DIR"] = home


def fail(why):
    sys.exit("FAILED: %s (files kept in %s)" % (why, home))


# The menu runs the entry's command through the PATH, whose usr/bin is ROOT's.
# The cues are found beside the program that the link in usr/bin leads to, and
# the game runs in a folder of its own, so a cue heard shows they were found.
entry = configparser.ConfigParser(interpolation=None)
entry_path = os.path.join(usr, "share/applications/org.example.Gomirlo.desktop")
entry.read(entry_path) or fail("no menu entry " + entry_path)
command = shlex.split(entry["Desktop Entry"]["Exec"])
game = shutil.which(command[0], path=os.path.join(usr, "bin")) or fail("no usr/bin/" + command[0])
errors, sound = os.path.join(home, "stderr.txt"), os.path.join(home, "sound.raw")
quiet, processes = dict(stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL), []
try:
    # A window manager, and a sound server whose one output is a null sink:
    # what the game plays there is recorded from the sink's monitor.
    processes += [subprocess.Popen(["openbox", "--startup", "touch " + home + "/wm"], **quiet),
                  subprocess.Popen(["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                                    "--load=module-null-sink sink_name=gomirlo_test",
                                    "--load=module-native-protocol-unix"], **quiet)]
    subprocess.run("until [ -e wm ] && pactl info; do sleep 0.1; done", shell=True, cwd=home,
                   timeout=30, check=True, stdout=subprocess.DEVNULL)
    processes.append(subprocess.Popen(["parec", "-d", "gomirlo_test.monitor", "--latency-msec=50",
                                       "--raw", sound]))
    from dogtail.config import config  # it opens the display, so only now
    config.checkForA11y, config.logDebugToFile, config.searchCutoffCount = False, False, 60
    config.searchShowingOnly = True  # closed dialogs may linger, hidden, in the tree
    from dogtail import rawinput, tree
    processes.append(subprocess.Popen([game, *command[1:]], cwd=home,
                                      stdin=subprocess.DEVNULL, stderr=open(errors, "wb")))
    app = tree.root.findChild(lambda n: n.roleName == "application" and
                              n.get_process_id() == processes[-1].pid, recursive=False)
    app.child(name="Come ti chiami?", roleName="label")
    app.child(roleName="text").typeText(NAME)
    rawinput.pressKey("Return")
    app.child(name=" %s vediamo se sei un vero campione  " % NAME, roleName="label")
    rawinput.pressKey("Return")
    number = app.findChild(lambda n: n.description == "Numero" and n.name.isdigit())
    app.child(name="Risposta", roleName="text").typeText(str(20 - int(number.name)))
    rawinput.pressKey("Return")
    app.child(name="Esatto! %s Sei forte!" % NAME, description="Esito della risposta")
    if screenshot:
        subprocess.run(["import", "-window", "root", "-strip", screenshot[0]], check=True)
    app.child(name="Exit", roleName="push button").click()
    app.child(name="Ok! Ho registrato il tuo record, C A M P I O N E", roleName="label")
    rawinput.pressKey("Return")
    status = processes[-1].wait(timeout=30)
finally:
    for process in reversed(processes):
        process.terminate()
        process.wait()
for file, want in (("gomirlo10.txt", b"1\r\n"), ("gomirlo100.txt", NAME.encode() + b"\r\n")):
    path = os.path.join(os.environ["XDG_DATA_HOME"], "gomirlo", file)
    got = open(path, "rb").read() if os.path.exists(path) else None
    if got != want:
        fail("the record file %s holds %r, not %r" % (file, got, want))
if status != 0 or os.path.getsize(errors):
    fail("the game ended with status %d, writing %r" % (status, open(errors).read()))
if not any(open(sound, "rb").read()):
    fail("no cue was heard (usr/lib/gomirlo/suoni/Esatto.wav?)")
shutil.rmtree(home)
print("played: the name, the greeting, a right answer with its cue, Exit with a new record")
