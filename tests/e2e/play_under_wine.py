#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows game under Wine, in a fresh prefix: the record store's tests run
# against Windows' own file calls; the game installed silently beside a record of
# the earlier program, which it must take over, with the licences the zip has;
# played from its Start-menu shortcut (a name, a wrong answer, answers from 11 to
# 19 until one is right, Exit), its message boxes read as Ctrl+C copies them,
# while an install over it is refused; started again after both record files
# were deleted, which must leave the record empty; uninstalled; then installed
# for all users and uninstalled by the command its entry gives.
#
#     /usr/bin/python3 play_under_wine.py SETUP_EXE [SCREENSHOT_AFTER_THE_RIGHT_ANSWER]

import glob
import itertools
import os
import re
import subprocess
import sys
import time
import zipfile

import desktop

setup, screenshot = os.path.abspath(sys.argv[1]), sys.argv[2:]
desktop.enter()
fail, prefix = desktop.fail, desktop.home + "/prefix"
os.environ.update(WINEPREFIX=prefix, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")  # no Mono, no Gecko
user = prefix + "/drive_c/users/" + os.environ.get("USER", "root") + "/AppData/"
program, records, earlier = (user + f for f in ("Local/Programs/Gomirlo", "Roaming/gomirlo", "Local/VirtualStore/Windows"))
shortcut = user + "Roaming/Microsoft/Windows/Start Menu/Programs/Gomirlo.lnk"
uninstall_key = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Gomirlo"
machine, machine_key = prefix + "/drive_c/Program Files/Gomirlo", uninstall_key.replace("HKCU", "HKLM")
machine_shortcut = prefix + "/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Gomirlo.lnk"


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


# A window with this title but those given, once shown and given the keyboard.
def window(title, besides=()):
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


# Each file and folder under this one, with the time it last changed in any way.
def files(folder):
    return sorted((path, os.stat(path).st_ctime_ns) for path in glob.glob(folder + "/**", recursive=True))


def uninstalled(folder, link, key):
    time.sleep(2)  # the uninstaller runs on from a copy of itself
    run("wineserver", "-w")
    for path in (folder, link):
        os.path.exists(path) and fail("left by the uninstaller: " + path)
    run("wine", "reg", "query", key).returncode != 0 or fail("the uninstall entry is left: " + key)


try:
    run("wine", "wineboot", "--init")
    # The record store's tables, against Windows' own file calls.
    report = desktop.home + "/store.txt"
    run("wine", os.path.dirname(setup) + "/cmake/bin/test_recordstore.exe", "-o", "Z:%s,txt" % report).returncode == 0 \
        or fail("the record store's tests failed under Wine:\n" + open(report).read())
    # Windows has the faces the layout names; Wine draws them with their Linux look-alikes.
    for face, stand_in in (("Arial", "Liberation Sans"), ("Times New Roman", "Liberation Serif")):
        run("wine", "reg", "add", r"HKCU\Software\Wine\Fonts\Replacements", "/v", face, "/d", stand_in, "/f")
    run("wine", setup, "/S")
    run("wineserver", "-w")
    run("wine", "reg", "query", uninstall_key).returncode == 0 or fail("no uninstall entry")
    with zipfile.ZipFile(os.path.dirname(setup) + "/gomirlo-windows.zip") as portable:
        zipped = {os.path.basename(name): portable.read(name) for name in portable.namelist() if "/LICENZE/" in name}
    installed = {name: open(program + "/LICENZE/" + name, "rb").read() for name in os.listdir(program + "/LICENZE")}
    installed == zipped and b"GNU GENERAL PUBLIC LICENSE" in zipped.get("COPYING.txt", b"") or fail(
        "the licences installed, %r, are not the zip's, %r, with the GPL" % (sorted(installed), sorted(zipped)))
    os.makedirs(earlier)
    for name, data in (("/gomirlo10.txt", b"0\r\n"), ("/gomirlo100.txt", b"Bea\xe8\r\n")):  # Windows-1252
        open(earlier + name, "wb").write(data)

    game = subprocess.Popen(["wine", "start", "/wait", "/unix", shortcut])
    prompt = window("Gomirlo")
    keys("Return", typed="Anna")
    told = [message({prompt})]
    window("Dimmi il gomirlo per arrivare a venti")
    pair(records) == pair(earlier) or fail("the earlier record was not taken over: %r" % pair(records))
    before = files(program)
    refused = run("wine", setup, "/S").returncode  # the game plays on, as the rest shows
    refused != 0 and files(program) == before or fail("an install over the game went ahead (exit %d)" % refused)
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

    # Deleting both files resets the record for good: the earlier one is not taken over again.
    for name in ("/gomirlo10.txt", "/gomirlo100.txt"):
        os.remove(records + name)
    game = subprocess.Popen(["wine", "start", "/wait", "/unix", shortcut])
    prompt = window("Gomirlo")
    keys("Return", typed="Bruno")
    message({prompt})
    window("Dimmi il gomirlo per arrivare a venti")
    pair(records) == [b"", b""] or fail("the reset record was taken over again: %r" % pair(records))
    keys("alt+x")
    game.wait(timeout=30) == 0 or fail("the second game did not end well")

    run("wine", program + "/Uninstall.exe", "/S")
    uninstalled(program, shortcut, uninstall_key)
    pair(records) == [b"", b""] or fail("the uninstaller changed the record")

    run("wine", setup, "/S", "/AllUsers")
    run("wineserver", "-w")
    quiet = run("wine", "reg", "query", machine_key, "/v", "QuietUninstallString").stdout
    os.path.exists(machine + "/gomirlo.exe") and os.path.exists(machine_shortcut) and not os.path.exists(program) \
        and "/AllUsers" in quiet or fail("not installed for all users: %r" % quiet)
    uninstaller, options = re.search(r'REG_SZ\s+"(.+)" (.+)', quiet).groups()
    run("wine", uninstaller, *options.split())
    uninstalled(machine, machine_shortcut, machine_key)
finally:
    run("wineserver", "-k")
    desktop.stop()
print("under Wine: the record store's tests passed; installed with its licences, the earlier record taken over, "
      "an install over the game refused, a new record saved with its cue heard, a reset kept, uninstalled; "
      "installed for all users and uninstalled")
