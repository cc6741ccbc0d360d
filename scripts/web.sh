#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds the game for the browser from this checkout into build-web/, a folder
# that any static web server can serve as it is:
#   index.html, qtloader.js            the page and Qt's loader
#   gomirlo.js, gomirlo.wasm           the program (WebAssembly)
#   suoni/                             the two cues
#   manifest.webmanifest, sw.js,       what makes it an app that can be
#   gomirlo.png, gomirlo.svg           installed and starts with no network
#   LICENZE/                           its licence, the notices of all it links, where the sources are
# The build tree itself is build-web/cmake/ (not served).
#
# It needs a Qt 6.4.2 for WebAssembly (static, asyncify): the folder that
# holds bin/qt-cmake, named by GOMIRLO_QT_WASM. Without it, that Qt is built
# once from Debian's source by scripts/build-qt-wasm.sh (about a quarter of an
# hour on two cores) and kept in ${XDG_CACHE_HOME:-~/.cache}/gomirlo/qt6-wasm-6.4.2.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS

# Debian's emscripten, the build machine's compiler for the cue synthesizer,
# and Debian's Qt tools (moc, uic, rcc) of the same version as the Qt.
bash scripts/deps.sh build web

qt=$(bash scripts/qt-for.sh wasm)
if [ ! -d "$qt/emsdk-shim" ]; then
    echo "No emsdk-shim/ in $qt: GOMIRLO_QT_WASM must name a Qt built by scripts/build-qt-wasm.sh" >&2
    exit 1
fi
# Qt's support for the browser looks for an emsdk's layout, which the Qt's
# emsdk-shim/ gives to Debian's emscripten; emscripten's own tools look for
# their JavaScript modules among Debian's.
export EMSDK=$qt/emsdk-shim NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

out=build-web
tree=$out/cmake
echo "== Building the game for the browser in $tree (its link takes minutes)"
# A tree configured with another Qt would go on building with that one.
grep -qsxF "Qt6_DIR:PATH=$qt/lib/cmake/Qt6" "$tree/CMakeCache.txt" || rm -rf "$tree"
"$qt/bin/qt-cmake" -S . -B "$tree" -G Ninja --no-warn-unused-cli -DCMAKE_BUILD_TYPE=Release \
    -DGOMIRLO_WEB_BENCHMARK="${GOMIRLO_WEB_BENCHMARK:-OFF}" >/dev/null
nice cmake --build "$tree" -j2

# The page's folder as a school's server gets it.
find "$out" -mindepth 1 -maxdepth 1 ! -name cmake -exec rm -rf {} +
cmake --install "$tree" --prefix "$out" >/dev/null
# The licences of all that the program links, which the page links to, with
# a page of its own that lists them for servers that list no folders.
bash scripts/licences.sh "$qt" "$tree" "$out/LICENZE" web web/SORGENTI.txt.in emscripten fonts-liberation
(cd "$out/LICENZE" && {
    echo '<!doctype html><html lang="it"><meta charset="utf-8"><title>Gomirlo: licenze e sorgenti</title><ul>'
    for file in *.txt; do echo "<li><a href=\"$file\">$file</a></li>"; done
    echo '</ul></html>'
} > index.html)
# The service worker keeps one build's files together: its version is theirs.
version=$(cd "$out" && find . -path ./cmake -prune -o -type f ! -name sw.js -print | LC_ALL=C sort | xargs sha256sum | sha256sum | cut -c1-16)
sed -i "s/@VERSION@/$version/" "$out/sw.js"

echo "== Done in $((SECONDS - started)) s"
ls -l "$out/gomirlo.wasm" "$out/gomirlo.js"
