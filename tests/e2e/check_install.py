#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks an installed game as the desktop finds it.

    check_install.py --build BUILD_DIR [--source SOURCE_DIR]
        installs the build into a temporary folder (cmake --install) first;
    check_install.py --root ROOT [--source SOURCE_DIR]
        checks a tree already installed under ROOT: / for the installed
        package, or the folder that dpkg -x unpacked it into.

What is checked, all under ROOT/usr:
  - bin/gomirlo is a link to lib/gomirlo/gomirlo, an executable, and
    lib/gomirlo/suoni/ beside it holds both cues as 16-bit PCM WAV files;
  - the desktop entry passes desktop-file-validate (hints allowed), has its
    Italian name and comment and the categories Education, Math and KidsGame,
    and its Exec starts bin/gomirlo;
  - its icon is in the hicolor theme at 32, 48, 64, 128 and 256 pixels (each
    PNG really that size) and as SVG; the 32-pixel one is the window icon;
  - the AppStream metainfo passes appstreamcli validate --no-net, names the
    desktop entry and has a description and a screenshot;
  - the manual page and the Debian copyright file are there.

Prints the command the menu entry starts on its last line, so that the
end-to-end test can start the game as the menu would. Exits 0 when all is
well, 1 at the first fault, 77 (skipped) when a validator is not installed.
"""

import argparse
import configparser
import gzip
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

SKIPPED = 77
APP_ID = "org.example.Gomirlo"
ICON_SIZES = (32, 48, 64, 128, 256)


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def inside(root, path):
    """A path of the installed tree, resolved inside root (a link that points
    out of the tree would point at this machine's files instead)."""
    return os.path.join(root, path.lstrip("/"))


def resolve_link(root, path):
    """Follows links one by one within root; returns the final path below root."""
    for _ in range(10):
        full = inside(root, path)
        if not os.path.islink(full):
            return path
        target = os.readlink(full)
        path = os.path.normpath(target if target.startswith("/")
                                else os.path.join(os.path.dirname(path), target))
    raise Failure("%s: too many links" % path)


def check_program(root, usr):
    command = usr + "/bin/gomirlo"
    check(os.path.islink(inside(root, command)), command + " is not a link")
    check(not os.readlink(inside(root, command)).startswith("/"),
          command + " is an absolute link; it would break when the tree is moved")
    program = resolve_link(root, command)
    check(program == usr + "/lib/gomirlo/gomirlo", "%s leads to %s, not to the private folder"
          % (command, program))
    full = inside(root, program)
    check(os.path.isfile(full) and os.access(full, os.X_OK), program + " is not an executable file")
    with open(full, "rb") as f:
        check(f.read(4) == b"\x7fELF", program + " is not an ELF program")
    for cue in ("Esatto.wav", "no.wav"):
        path = inside(root, usr + "/lib/gomirlo/suoni/" + cue)
        check(os.path.isfile(path), "no cue " + cue + " beside the game")
        with open(path, "rb") as f:
            header = f.read(36)
        check(header[:4] == b"RIFF" and header[8:16] == b"WAVEfmt ", cue + " is not a WAV file")
        audio_format, _, _, _, _, bits = struct.unpack_from("<HHIIHH", header, 20)
        check(audio_format == 1 and bits == 16, cue + " is not 16-bit PCM")
    return command


def validator_output(argv):
    result = subprocess.run(argv, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    return result.returncode, result.stdout


def check_desktop_entry(root, usr):
    path = inside(root, usr + "/share/applications/" + APP_ID + ".desktop")
    check(os.path.isfile(path), "no desktop entry " + APP_ID + ".desktop")
    status, output = validator_output(["desktop-file-validate", path])
    print(output.strip() or "desktop-file-validate: clean")
    # Hints are advice; errors and warnings are faults.
    faults = [line for line in output.splitlines() if ": error: " in line or ": warning: " in line]
    check(status == 0 and not faults, "desktop-file-validate: " + "; ".join(faults or [output]))

    entry = configparser.RawConfigParser(interpolation=None, strict=True)
    entry.optionxform = str  # keys are case-sensitive
    with open(path, encoding="utf-8") as f:
        entry.read_file(f)
    group = entry["Desktop Entry"]
    check(group.get("Type") == "Application", "not an application entry")
    check(group.get("Name") == "Gomirlo", "name %r" % group.get("Name"))
    check(group.get("Comment") == "Trova il numero che manca per arrivare a venti",
          "comment %r" % group.get("Comment"))
    categories = [c for c in group.get("Categories", "").split(";") if c]
    for wanted in ("Education", "Math", "KidsGame"):
        check(wanted in categories, "category %s missing from %s" % (wanted, categories))
    check(group.get("Terminal", "false") == "false", "the game would open a terminal")
    exec_line = group.get("Exec", "").split()
    check(len(exec_line) == 1, "Exec %r: the game takes no arguments" % group.get("Exec"))
    # The menu runs the command through the PATH, where the link lies.
    check(exec_line[0] == "gomirlo", "Exec %r does not start gomirlo" % exec_line[0])
    return group.get("Icon")


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    check(head[:8] == b"\x89PNG\r\n\x1a\n" and head[12:16] == b"IHDR", path + " is not a PNG")
    return struct.unpack(">II", head[16:24])


def check_icons(root, usr, icon, source):
    check(icon == APP_ID, "the desktop entry's icon is %r, not %s" % (icon, APP_ID))
    theme = inside(root, usr + "/share/icons/hicolor")
    for size in ICON_SIZES:
        path = "%s/%dx%d/apps/%s.png" % (theme, size, size, icon)
        check(os.path.isfile(path), "no %d-pixel icon" % size)
        check(png_size(path) == (size, size), "%s is %dx%d" % ((path,) + png_size(path)))
    svg = "%s/scalable/apps/%s.svg" % (theme, icon)
    check(os.path.isfile(svg), "no scalable icon")
    check(ET.parse(svg).getroot().tag == "{http://www.w3.org/2000/svg}svg", svg + " is not SVG")
    if source:
        # The small icon is the window icon itself, pixel for pixel.
        sys.path.insert(0, os.path.join(source, "packaging", "icons"))
        import make_icons
        from PIL import Image
        with Image.open("%s/32x32/apps/%s.png" % (theme, icon)) as png:
            pixels = png.convert("RGBA").tobytes()
        check(pixels == make_icons.window_icon().tobytes(), "the 32-pixel icon is not the window icon")


def check_metainfo(root, usr):
    path = inside(root, usr + "/share/metainfo/" + APP_ID + ".metainfo.xml")
    check(os.path.isfile(path), "no AppStream metainfo")
    status, output = validator_output(["appstreamcli", "validate", "--no-net", "--no-color", path])
    print(output.strip())
    faults = [line for line in output.splitlines() if line[:2] in ("E:", "W:")]
    check(status == 0 and not faults, "appstreamcli validate: " + "; ".join(faults or [output]))
    component = ET.parse(path).getroot()
    check(component.findtext("id") == APP_ID, "metainfo id %r" % component.findtext("id"))
    check(component.findtext("launchable") == APP_ID + ".desktop", "metainfo launches another entry")
    check(component.find("description/p") is not None, "metainfo without a description")
    image = component.find("screenshots/screenshot/image")
    check(image is not None and image.text.startswith("https://"), "metainfo without a screenshot")


def check_documents(root, usr):
    page = inside(root, usr + "/share/man/man6/gomirlo.6.gz")
    check(os.path.isfile(page), "no manual page")
    with gzip.open(page, "rt", encoding="utf-8") as f:
        check(".TH GOMIRLO 6" in f.read(), "the manual page has no title line")
    copyright_file = inside(root, usr + "/share/doc/gomirlo/copyright")
    check(os.path.isfile(copyright_file), "no copyright file")
    with open(copyright_file, encoding="utf-8") as f:
        check("License: GPL-3.0-or-later" in f.read(), "the copyright file names no licence")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    where = parser.add_mutually_exclusive_group(required=True)
    where.add_argument("--build", help="a build folder to install and check")
    where.add_argument("--root", help="the root of an installed tree")
    parser.add_argument("--source", help="the source folder, to compare the icon")
    args = parser.parse_args()

    for tool, package in (("desktop-file-validate", "desktop-file-utils"),
                          ("appstreamcli", "appstream")):
        if shutil.which(tool) is None:
            print("SKIPPED: %s is not installed (Debian package %s)" % (tool, package))
            return SKIPPED

    staging = None
    try:
        if args.build:
            staging = tempfile.mkdtemp(prefix="gomirlo-install-")
            subprocess.run(["cmake", "--install", args.build, "--prefix", staging + "/usr"],
                           check=True, stdout=subprocess.DEVNULL)
            root = staging
        else:
            root = args.root
        usr = "/usr"
        command = check_program(root, usr)
        if os.path.realpath(root) == "/":
            found = shutil.which("gomirlo")
            check(found == command, "the menu's command gomirlo is %s on the PATH, not %s"
                  % (found, command))
        icon = check_desktop_entry(root, usr)
        check_icons(root, usr, icon, args.source)
        check_metainfo(root, usr)
        check_documents(root, usr)
    except Failure as failure:
        print("FAILED: %s" % failure)
        return 1
    finally:
        if staging:
            shutil.rmtree(staging, ignore_errors=True)
    print("installed as the desktop expects it")
    print(inside(root, command) if args.root else command)
    return 0


if __name__ == "__main__":
    sys.exit(main())
