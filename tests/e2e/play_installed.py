#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
# One short game of the installed Gomirlo, started as its menu entry starts it
# and played through the accessibility tree with dogtail:
#
#     /usr/bin/python3 play_installed.py ROOT [SCREENSHOT]
#
# ROOT holds usr/ as the package lays it out (/ once installed). A child types a
# name, answers one question right and presses Exit: its cue must be heard whole, the
# record saved and shown, the game must end with status 0 and no error output.
# SCREENSHOT, if given, is where the screen is saved just after the answer.

import configparser
import os
import shlex
import shutil
import subprocess
import sys

import desktop

NAME = "Giulia"
usr, screenshot = os.path.join(os.path.abspath(sys.argv[1]), "usr"), sys.argv[2:]
desktop.enter(QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
fail = desktop.fail

# The menu runs the entry's command through the PATH, whose usr/bin is ROOT's.
# The cues are found beside the program that the link in usr/bin leads to, and
# the game runs in a folder of its own, so a cue heard shows they were found.
entry = configparser.ConfigParser(interpolation=None)
entry_path = os.path.join(usr, "share/applications/org.example.Gomirlo.desktop")
entry.read(entry_path) or fail("no menu entry " + entry_path)
command = shlex.split(entry["Desktop Entry"]["Exec"])
game = shutil.which(command[0], path=os.path.join(usr, "bin")) or fail("no usr/bin/" + command[0])
errors = os.path.join(desktop.home, "stderr.txt")
try:
    from dogtail.config import config  # it opens the display, so only now
    config.checkForA11y, config.logDebugToFile, config.searchCutoffCount = False, False, 60
    config.searchShowingOnly = True  # closed dialogs may linger, hidden, in the tree
    from dogtail import rawinput, tree
    desktop.processes.append(subprocess.Popen([game, *command[1:]], cwd=desktop.home,
                                              stdin=subprocess.DEVNULL, stderr=open(errors, "wb")))
    app = tree.root.findChild(lambda n: n.roleName == "application" and
                              n.get_process_id() == desktop.processes[-1].pid, recursive=False)
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
    status = desktop.processes[-1].wait(timeout=30)
finally:
    desktop.stop()
desktop.check_record(os.path.join(os.environ["XDG_DATA_HOME"], "gomirlo"), NAME)
if status != 0 or os.path.getsize(errors):
    fail("the game ended with status %d, writing %r" % (status, open(errors).read()))
if desktop.heard(os.path.join(usr, "lib/gomirlo/suoni/Esatto.wav")) < 0.95:
    fail("the cue was not heard whole (usr/lib/gomirlo/suoni/Esatto.wav?)")
print("played: the name, the greeting, a right answer with its cue, Exit with a new record")
