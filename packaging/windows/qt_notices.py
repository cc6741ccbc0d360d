#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the notices of the third-party parts that a static Qt bundles into a
program, from the attribution files (qt_attribution.json) of the Qt source it
was built from, keeping those that are in this Qt as it was configured.

    qt_notices.py NOTICES QT_PREFIX OUTPUT [SYSTEM]

NOTICES holds the source's attribution files and licence texts, as
scripts/qt-source.sh unpacks them; QT_PREFIX is the installed Qt, whose
configuration headers say which optional parts it was built with. SYSTEM is
windows (the default), for gomirlo.exe, or web, for the page's program.
"""

import glob
import json
import os
import re
import sys

notices, prefix, output, system = (sys.argv[1:] + ["windows"])[:4]

PROGRAM = {"windows": "gomirlo.exe", "web": "gomirlo.wasm"}[system]
# Folders of the Qt modules the game links (Core, Gui, Widgets and the system's
# plugins): attributions elsewhere (D-Bus, Network, Test, macOS) are not in it.
LINKED = ("src/3rdparty/", "src/corelib/", "src/gui/", "src/widgets/", "src/plugins/imageformats/") + {
    "windows": ("src/plugins/platforms/windows/", "src/plugins/styles/"),
    "web": ("src/plugins/platforms/wasm/", "src/opengl/", "src/openglwidgets/")}[system]
# A bundled part that only some configurations build is in the program when its
# features are on ("!" for off) in this Qt.
WHEN = {
    "doubleconversion": ["doubleconversion", "!system_doubleconversion"],
    "easing": ["easingcurve"],
    "freetype": ["freetype", "!system_freetype"],
    "freetype-zlib": ["freetype", "!system_freetype"],
    "freetype-bdf": ["freetype", "!system_freetype"],
    "freetype-pcf": ["freetype", "!system_freetype"],
    "harfbuzz-ng": ["harfbuzz", "!system_harfbuzz"],
    "libjpeg": ["jpeg", "!system_jpeg"],
    "libpng": ["png", "!system_png"],
    "md4c": ["textmarkdownreader", "!system_textmarkdownreader"],
    "pcre2": ["regularexpression", "!system_pcre2"],
    "pcre2-sljit": ["regularexpression", "!system_pcre2"],
    "zlib": ["!system_zlib"],
    "tinycbor": ["cborstreamreader"],
    "icc-sRGB-color-profile": ["pdf"],
    "aglfn": ["pdf"],
    "opengl-headers": ["opengl"],
    "opengl-es2-headers": ["opengl"],
    "xcb-xinput": ["xcb"],
    "libpsl": ["network"],
}
# Parts of other systems and processors: Android, macOS, WebAssembly (whose
# platform embeds the Vera and DejaVu faces), Unix, ARM.
ELSEWHERE = {"android-native-style", "android-gradle-wrapper", "cocoa-platform-plugin", "qeventdispatcher_cf",
             "forkfd", "pixman"} | ({"vera_font", "dejayvu"} if system == "windows" else set())

features = {}
for header in glob.glob(prefix + "/include/**/q*config*.h", recursive=True):
    if not re.fullmatch(r"q(t\w+-)?config(_p)?\.h", os.path.basename(header)):
        continue  # qconfig-bootstrapped.h is the build tools' own
    for name, value in re.findall(r"^#define QT_FEATURE_(\w+) (-?1)$", open(header).read(), re.M):
        features[name] = value == "1"


def linked(entry):
    if entry["Id"] in ELSEWHERE:
        return False
    # The Vulkan parts (its registry and its memory allocator) come with Vulkan.
    for feature in WHEN.get(entry["Id"], ["vulkan"] if entry["Id"].lower().startswith("vulkan") else []):
        name = feature.lstrip("!")
        if name not in features:
            sys.exit("qt_notices.py: this Qt does not say whether it has the feature %s" % name)
        if features[name] == feature.startswith("!"):
            return False
    return True


sections = []
for path in sorted(glob.glob(notices + "/src/**/qt_attribution.json", recursive=True)):
    folder = os.path.dirname(path)
    if not os.path.relpath(path, notices).startswith(LINKED):
        continue
    # Qt's attribution files break their long strings over lines, which strict JSON forbids.
    entries = json.loads(open(path, encoding="utf-8").read(), strict=False)
    for entry in entries if isinstance(entries, list) else [entries]:
        if not linked(entry):
            continue
        text = ""
        if entry.get("LicenseFile"):
            licence = os.path.join(folder, entry["LicenseFile"])
            if not os.path.exists(licence):
                sys.exit("qt_notices.py: %s names %s, which the source does not have" % (path, licence))
            text = "\n" + open(licence, encoding="utf-8", errors="replace").read().strip() + "\n"
        head = [entry["Name"] + (" " + entry["Version"] if entry.get("Version") else ""),
                entry.get("QtUsage", "").replace("\n", " "),
                "Licence: %s%s" % (entry.get("License", ""), " (%s)" % entry["LicenseId"] if entry.get("LicenseId") else ""),
                entry.get("Copyright", "").strip()]
        sections.append((entry["Name"].lower(), "\n".join(line for line in head if line) + "\n" + text))

with open(output, "w", encoding="utf-8") as out:
    out.write("Third-party parts that Qt bundles into %s, from the attribution files\n"
              "of the Qt source it was built from (see SORGENTI.txt).\n" % PROGRAM)
    for _, section in sorted(sections):
        out.write("\n" + "=" * 78 + "\n" + section)
print("%d third-party parts of Qt in %s" % (len(sections), output))
