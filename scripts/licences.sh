#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Gathers into LICENCES the licences of a program that links a static Qt (the
# Windows program, the page for the browser), as scripts/windows.sh and
# scripts/web.sh ship them:
#   COPYING.txt           the game's licence
#   Qt-LGPL-3.0.txt       Qt's licence, from its source
#   Qt-terze-parti.txt    the third-party parts Qt bundles into the program (qt_notices.py)
#   SOURCE.txt            for each Debian source package named: the copyright
#                         file of PACKAGE, under its source package's name
#   SORGENTI.txt          TEMPLATE filled in: where the sources are, the written offer
#
#   bash scripts/licences.sh QT TREE LICENCES SYSTEM TEMPLATE [PACKAGE...]
#
# QT is the Qt's folder, TREE the program's build tree, SYSTEM windows or web.
# The Qt's licence texts and attribution files are those kept with the Qt by
# scripts/build-qt-*.sh, or else those of Debian's source of the same version,
# the one such a Qt is built from.
set -euo pipefail
cd "$(dirname "$0")/.."
qt=$1 tree=$2 licences=$3 system=$4 template=$5
shift 5

notices=$qt/licenses/qtbase
if [ ! -f "$notices/SOURCE" ]; then
    notices=$PWD/$tree/qt-licenses
    [ -f "$notices/SOURCE" ] || bash scripts/qt-source.sh "" "$notices" >/dev/null
    qt_version=$(sed -n 's/^#define QT_VERSION_STR "\(.*\)"$/\1/p' "$qt/include/QtCore/qconfig.h")
    if ! grep -q "^qt6-base ${qt_version}+" "$notices/SOURCE"; then
        echo "The Qt in $qt is $qt_version and has no licences of its own; Debian's source is $(cat "$notices/SOURCE")" >&2
        exit 1
    fi
fi
mkdir -p "$licences"
cp COPYING "$licences/COPYING.txt"
cp "$notices/LICENSES/LGPL-3.0-only.txt" "$licences/Qt-LGPL-3.0.txt"
python3 packaging/windows/qt_notices.py "$notices" "$qt" "$licences/Qt-terze-parti.txt" "$system"
sources=$(for package in "$@"; do
    cp "/usr/share/doc/$package/copyright" "$licences/$(dpkg-query -W -f='${source:Package}' "$package").txt"
    dpkg-query -W -f='${source:Package} ${source:Version}\n' "$package"
done | LC_ALL=C sort | paste -s -d, | sed 's/,/, /g')
# Where the sources are, with the written offer.
git_commit=$(git rev-parse HEAD 2>/dev/null || echo "?")
[ -z "$(git status --porcelain 2>/dev/null)" ] || git_commit+=", con modifiche non ancora registrate"
sed -e "s|@VERSION@|$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$tree/CMakeCache.txt")|" \
    -e "s|@COMMIT@|$git_commit|" \
    -e "s|@HOMEPAGE@|$(sed -n 's/^Source: //p' packaging/copyright)|" \
    -e "s|@CONTACT@|$(sed -n 's/^Upstream-Contact: .*<\(.*\)>/\1/p' packaging/copyright)|" \
    -e "s|@QT_SOURCE@|$(cat "$notices/SOURCE")|" \
    -e "s|@RUNTIME_SOURCES@|$sources|" \
    "$template" > "$licences/SORGENTI.txt"
