#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The Windows game under Wine, in a fresh prefix: installed silently beside a
record of the earlier program, which it must take over; played from its
Start-menu shortcut (a name, a wrong answer, answers from 11 to 19 until one is
right, Exit), its message boxes read as Ctrl+C copies them; uninstalled.

    /usr/bin/python3 play_under_wine.py SETUP_EXE [SCREENSHOT_AFTER_THE_RIGHT_ANSWER]
"""

import itertools
import os
import subprocess
import sys
import time

import desktop

setup, screenshot = os.path.abspath(sys.argv[1]), sys.argv[2:]
desktop.enter()
fail, prefix = desktop.fail, desktop.home + "/prefix"
os.environ.update(WINEPREFIX=prefix, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")  # no Mono, no Gecko
user = prefix + "/drive_c/users/" + os.environ.get("USER", "root") + "/AppData/"
program, records, earlier = (user + f for f in ("Local/Programs/Gomirlo", "Roaming/gomirlo", "Local/VirtualStore/Windows"))
shortcut = user + "Roaming/Microsoft/Windows/Start Menu/Programs/Gomirlo.lnk"
uninstall_key = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Gomirlo"


def run(*command):
    return subprocess.run(command, capture_output=True, text=True)


def pair(folder):
    return [open(folder + name, "rb").read() for name in ("/gomirlo10.txt", "/gomirlo100.txt")]


def keys(*names, typed=None):
    if typed is not None:
        run("xdotool", "type", "--delay", "50", typed)
    for name in names:
        run("xdotool", "key", name)
        time.sleep(0.3)


def window(title, besides=()):
    """A window with this title but those given, once shown and given the keyboard."""
    for _ in range(300):
        shown = set(run("xdotool", "search", "--onlyvisible", "--name", "^%s$" % title).stdout.split()) - set(besides)
        if shown:
            time.sleep(0.5)
            return shown.pop()
        time.sleep(0.1)
    fail("no window %r" % title)


def message(besides=()):
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
    for name, data in (("/gomirlo10.txt", b"0\r\n"), ("/gomirlo100.txt", b"Bea\xe8\r\n")):  # Windows-1252
        open(earlier + name, "wb").write(data)

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
    screenshot and run("import", "-window", "root", "-strip", screenshot[0])
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
print("under Wine: installed, the earlier record taken over, a new one saved with its cue heard, uninstalled")
