#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds the Qt that the game for the browser links: qtbase 6.4.2 (Core, Gui,
# OpenGL, Widgets, the wasm platform plugin, the ICO reader) as static
# libraries for WebAssembly, single-threaded, with asyncify (so that a modal
# box's exec() works), with Debian 12's emscripten 3.1.6, from Debian's own
# qt6-base source, so that it is the same Qt as the Linux build.
# scripts/web.sh runs it once when it is given no Qt of this kind; it takes
# about a quarter of an hour on two cores.
#
#   GOMIRLO_QT_PREFIX  where the Qt is installed
#                      (default ${XDG_CACHE_HOME:-~/.cache}/gomirlo/qt6-wasm-6.4.2)
#   GOMIRLO_QT_WORK    source and build tree, removed once the Qt is installed
#                      (default: qt-build beside the prefix, shared with the
#                      Windows Qt's, whose downloaded source it reuses)
#   JOBS               parallel compile jobs (default 2)
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS

cache=${XDG_CACHE_HOME:-$HOME/.cache}/gomirlo
prefix=$(realpath -m "${GOMIRLO_QT_PREFIX:-$cache/qt6-wasm-6.4.2}")
work=$(realpath -m "${GOMIRLO_QT_WORK:-$(dirname "$prefix")/qt-build}")
jobs=${JOBS:-2}
shim=$work/emsdk-shim

log() { printf '\n== [%s] %s\n' "$(date +%T)" "$*"; }

bash scripts/deps.sh build web qt-source
# Emscripten's JavaScript optimizer needs acorn from node-acorn, which only
# Debian's own nodejs finds by itself.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

# --- Emscripten, laid out as Qt expects an emsdk ----------------------------------
# Qt's support for the browser insists on an emsdk (EMSDK naming a folder with
# .emscripten and emscripten/emcc): a few links give it Debian's emscripten.
# They are installed with the Qt, since every program built against it needs
# them too (scripts/web.sh points EMSDK there).
rm -rf "$shim"
mkdir -p "$shim/emscripten"
echo "EMSCRIPTEN_ROOT = 'emscripten' # Debian's emscripten package" > "$shim/.emscripten"
ln -s /usr/share/emscripten/cmake "$shim/emscripten/cmake"
for tool in emcc em++ emar emranlib; do
    ln -s "/usr/bin/$tool" "$shim/emscripten/$tool"
done
# Emscripten.cmake finds its root by the emranlib.py three folders up.
ln -s /usr/share/emscripten/emranlib.py "$shim/emscripten/emranlib.py"
export EMSDK=$shim

# --- Configure, build, install -------------------------------------------------
configure=(
    -platform wasm-emscripten
    -qt-host-path /usr
    -release -static
    -nomake examples -nomake tests
    -device-option QT_EMSCRIPTEN_ASYNCIFY=1
    -no-feature-thread
    -no-dbus -no-icu -no-glib -no-fontconfig -no-pkg-config -no-zstd
    -qt-zlib -qt-pcre -qt-libpng -qt-harfbuzz -qt-freetype -qt-doubleconversion
    -no-libjpeg -no-gif
    -no-feature-network -no-feature-sql -no-feature-printsupport
    -no-feature-concurrent -no-feature-testlib -no-feature-xml
    -no-feature-vulkan
    # OpenGL (ES2, that is WebGL) stays on: the 6.4 wasm compositor draws with it.
    --
    -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
)
bash scripts/qt-build.sh "$prefix" "$work" "$jobs" "${configure[@]}"
cp -a "$shim" "$prefix/emsdk-shim"
rm -rf "$shim"
log "Qt for WebAssembly in $prefix ($(du -sh "$prefix" | cut -f1)), built in $(((SECONDS - started) / 60)) min"
