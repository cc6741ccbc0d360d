#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Prints the folder of the Qt 6.4.2 that the Windows program (win64) or the
# web page (wasm) is built against:
#
#   qt=$(bash scripts/qt-for.sh win64|wasm)
#
# It is the folder that GOMIRLO_QT_WIN64 or GOMIRLO_QT_WASM names or, without
# one, ${XDG_CACHE_HOME:-~/.cache}/gomirlo/qt6-KIND-6.4.2, where the first call
# builds it from Debian's source with scripts/build-qt-KIND.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
kind=$1
case $kind in
    win64) system="Windows x86-64" ;;
    wasm) system=WebAssembly ;;
    *) echo "usage: $0 win64|wasm" >&2; exit 2 ;;
esac
variable=GOMIRLO_QT_${kind^^}

qt=${!variable:-}
if [ -z "$qt" ]; then
    qt=${XDG_CACHE_HOME:-$HOME/.cache}/gomirlo/qt6-$kind-6.4.2
    if [ ! -x "$qt/bin/qt-cmake" ]; then
        echo "== No Qt for $system in $qt yet: building it from Debian's source, once, which takes" \
            "about a quarter of an hour on two cores (set $variable to use one you have)" >&2
        GOMIRLO_QT_PREFIX=$qt bash "scripts/build-qt-$kind.sh" >&2
    fi
fi
if [ ! -x "$qt/bin/qt-cmake" ]; then
    echo "No bin/qt-cmake in $qt: $variable must name the folder of a static Qt 6.4.2 for $system" >&2
    exit 1
fi
realpath "$qt"
