#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Downloads Debian's qt6-base source package, the one the static Qts are built
# from, once, into DIR (default ${XDG_CACHE_HOME:-~/.cache}/gomirlo/qt-build/deb-src),
# and prints the path of its .dsc. scripts/qt-build.sh builds the Qts from it.
# Given NOTICES too, it also unpacks there the source's licence texts, with the
# attribution files (qt_attribution.json) of the third-party parts that Qt
# bundles and their licences, as scripts/licences.sh reads them.
#
#   bash scripts/qt-source.sh [DIR [NOTICES]]
set -euo pipefail
cd "$(dirname "$0")/.."

deb_version=6.4.2+dfsg-10
downloads=$(realpath -m "${1:-${XDG_CACHE_HOME:-$HOME/.cache}/gomirlo/qt-build/deb-src}")
notices=${2:-}
dsc=$downloads/qt6-base_${deb_version}.dsc

if [ ! -f "$dsc" ]; then
    bash scripts/deps.sh qt-source >&2
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    # apt-get source needs deb-src entries; they are added beside the
    # machine's own deb entries, for the same mirrors and suites.
    if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
        echo "== adding deb-src entries beside the machine's deb entries" >&2
        for f in /etc/apt/sources.list.d/*.sources; do
            [[ -f $f && $f != *-src.sources ]] || continue
            awk 'BEGIN { RS = ""; ORS = "\n\n" } /Types: deb\n/ { sub(/Types: deb\n/, "Types: deb-src\n"); print }' "$f"
        done | "${sudo[@]}" tee /etc/apt/sources.list.d/gomirlo-src.sources >/dev/null
        if [[ -f /etc/apt/sources.list ]]; then
            sed -n 's/^deb /deb-src /p' /etc/apt/sources.list | "${sudo[@]}" tee /etc/apt/sources.list.d/gomirlo-src.list >/dev/null
        fi
        "${sudo[@]}" apt-get update -q -o DPkg::Lock::Timeout=300 >&2
    fi
    echo "== downloading Debian's qt6-base $deb_version source into $downloads" >&2
    mkdir -p "$downloads"
    (cd "$downloads" && apt-get source --download-only "qt6-base=$deb_version" >&2)
fi

if [ -n "$notices" ]; then
    # Debian's patches change no licence, so the upstream tarball has them all.
    rm -rf "$notices"
    mkdir -p "$notices"
    tar -xJf "$downloads/qt6-base_${deb_version%-*}.orig.tar.xz" -C "$notices" --strip-components=1 --wildcards \
        '*/LICENSES/*' '*/src/*qt_attribution.json' '*/src/*LICEN[CS]E*' '*/src/*COPYING*'
    # Which source they are from, as a package and version apt-get source takes.
    echo "qt6-base $deb_version" > "$notices/SOURCE"
fi
echo "$dsc"
