#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The Windows game installed silently into a fresh Wine prefix beside a record
of the earlier program, then played from its Start-menu shortcut (a name, a
wrong answer, then answers from 11 to 19 until one is right, Exit), and
uninstalled. Messages are read as a person may read them on Windows: Ctrl+C
copies a message box's text. SCREENSHOT is where to save the screen after the
right answer:

    /usr/bin/python3 play_under_wine.py SETUP_EXE [SCREENSHOT]
"""

import itertools
import os
import subprocess
import sys
import time

import desktop

desktop.enter()
setup, screenshot = os.path.abspath(sys.argv[1]), sys.argv[2:]
desktop.start()
fail = desktop.fail
os.environ.update(WINEPREFIX=desktop.home + "/prefix", WINEDEBUG="-all",
                  WINEDLLOVERRIDES="mscoree,mshtml=")  # no offers to install Mono and Gecko
user = desktop.home + "/prefix/drive_c/users/" + os.environ.get("USER", "root")
program, records = user + "/AppData/Local/Programs/Gomirlo", user + "/AppData/Roaming/gomirlo"
earlier = user + "/AppData/Local/VirtualStore/Windows"
shortcut = user + "/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Gomirlo.lnk"
uninstall_key = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Gomirlo"


def run(*command):
    return subprocess.run(command, capture_output=True, text=True)


def pair(folder):
    return [open(path, "rb").read() if os.path.exists(path) else None
            for path in (folder + "/gomirlo10.txt", folder + "/gomirlo100.txt")]


def keys(*names, typed=None):
    if typed is not None:
        run("xdotool", "type", "--delay", "50", typed)
    for name in names:
        run("xdotool", "key", name)
        time.sleep(0.3)


def window(title, besides=()):
    """A window with this title other than those given, waited for."""
    for _ in range(300):
        found = set(run("xdotool", "search", "--onlyvisible", "--name", "^%s$" % title).stdout.split())
        if found - set(besides):
            time.sleep(0.5)  # for the window manager to give it the keyboard
            return (found - set(besides)).pop()
        time.sleep(0.1)
    fail("no window %r" % title)


def message(besides=()):
    """The text of a message box once it is shown, copied with Ctrl+C; Enter closes the box."""
    window("Gomirlo", besides)
    keys("ctrl+c")
    copied = run("xclip", "-o", "-selection", "clipboard").stdout.replace("\r\n", "\n")
    keys("Return")  # after the copy is read: the clipboard goes with the program
    return copied.split("---------------------------\n")[2].rstrip("\n")


try:
    run("wine", "wineboot", "--init")
    # Windows has the faces the layout names; Wine draws them with their Linux look-alikes.
    for face, stand_in in (("Arial", "Liberation Sans"), ("Times New Roman", "Liberation Serif")):
        run("wine", "reg", "add", r"HKCU\Software\Wine\Fonts\Replacements", "/v", face, "/d", stand_in, "/f")
    run("wine", setup, "/S")
    run("wineserver", "-w")
    run("wine", "reg", "query", uninstall_key).returncode == 0 or fail("no uninstall entry")
    os.makedirs(earlier)
    for file, data in (("/gomirlo10.txt", b"0\r\n"), ("/gomirlo100.txt", b"Bea\xe8\r\n")):  # Windows-1252
        open(earlier + file, "wb").write(data)

    game = subprocess.Popen(["wine", "start", "/wait", "/unix", shortcut])
    prompt = window("Gomirlo")
    keys("Return", typed="Anna")
    told = [message({prompt})]
    window("Dimmi il gomirlo per arrivare a venti")
    pair(records) == pair(earlier) or fail("the earlier record was not taken over: %r" % pair(records))
    for answer in itertools.chain(["0"], itertools.islice(itertools.cycle(range(11, 20)), 300)):
        keys("Return", typed=str(answer))
        # Judged wrong, the window turns black until the next question.
        if run("import", "-window", "root", "-crop", "1x1+1000+500", "-depth", "8", "txt:-").stdout.split()[-2] != "#000000":
            break
        keys("Return")  # the next question
    if screenshot:
        run("import", "-window", "root", "-strip", screenshot[0])
    time.sleep(1)  # for the cue to be heard whole
    keys("alt+x")
    told.append(message())
    status = game.wait(timeout=30)
    if (told, status) != ([" Anna vediamo se sei un vero campione  ",
                           "Ok! Ho registrato il tuo record, C A M P I O N E"], 0):
        fail("told %r, status %d" % (told, status))
    desktop.check_record(records, "Anna")
    pair(earlier) == [b"0\r\n", b"Bea\xe8\r\n"] or fail("the earlier record was changed: %r" % pair(earlier))
    desktop.heard(program + "/suoni/Esatto.wav") >= 0.95 or fail("the right answer's cue was not heard whole")

    run("wine", program + "/Uninstall.exe", "/S")
    time.sleep(2)  # the uninstaller runs on from a copy of itself
    run("wineserver", "-w")
    for path in (program + "/gomirlo.exe", shortcut):
        os.path.exists(path) and fail("left by the uninstaller: " + path)
    run("wine", "reg", "query", uninstall_key).returncode != 0 or fail("the uninstall entry is left")
    desktop.check_record(records, "Anna")  # the child's record stays
finally:
    run("wineserver", "-k")
    desktop.stop()
desktop.passed("under Wine: installed, the earlier record taken over, a new one saved with its cue heard, uninstalled")
