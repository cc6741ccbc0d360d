#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds the static Qt that the Windows program links: qtbase 6.4.2 (Core,
# Gui, Widgets, Test, the Windows platform plugin, the Windows style, the ICO
# reader) for Windows x86-64 with Debian 12's MinGW-w64 (posix threads), from
# Debian's own qt6-base source, so that it is the same Qt as the Linux build.
# scripts/windows.sh runs it once when it is given no Qt of this kind; it
# takes about 15 minutes on two cores.
#
#   GOMIRLO_QT_PREFIX  where the Qt is installed
#                      (default ${XDG_CACHE_HOME:-~/.cache}/gomirlo/qt6-win64-6.4.2)
#   GOMIRLO_QT_WORK    source and build tree, removed once the Qt is installed
#                      (default: qt-build beside the prefix)
#   JOBS               parallel compile jobs (default 2)
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS

cache=${XDG_CACHE_HOME:-$HOME/.cache}/gomirlo
prefix=$(realpath -m "${GOMIRLO_QT_PREFIX:-$cache/qt6-win64-6.4.2}")
work=$(realpath -m "${GOMIRLO_QT_WORK:-$(dirname "$prefix")/qt-build}")
jobs=${JOBS:-2}
toolchain=$work/mingw-w64-x86_64-posix.cmake

log() { printf '\n== [%s] %s\n' "$(date +%T)" "$*"; }

bash scripts/deps.sh build windows qt-source

# --- The cross compiler, as CMake is to use it ---------------------------------
# It is installed with the Qt too: programs built against this Qt load it as
# the toolchain that qt-cmake chains to (scripts/windows.sh does).
mkdir -p "$work"
cat > "$toolchain" <<'EOF'
# Debian 12 MinGW-w64, x86-64, posix thread model (winpthreads)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_mingw}-g++-posix)
set(CMAKE_RC_COMPILER  ${_mingw}-windres)
set(CMAKE_AR           /usr/bin/${_mingw}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB       /usr/bin/${_mingw}-ranlib CACHE FILEPATH "")
set(CMAKE_FIND_ROOT_PATH /usr/${_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF

# --- Configure, build, install -------------------------------------------------
configure=(
    -static -release -static-runtime
    -xplatform win32-g++
    -qt-host-path /usr
    -nomake examples -nomake tests
    -no-opengl -no-feature-vulkan
    -no-dbus -no-icu -no-glib -no-fontconfig -no-pkg-config -no-zstd
    -qt-zlib -qt-pcre -qt-libpng -qt-harfbuzz -qt-doubleconversion -no-freetype
    -no-libjpeg -no-gif -ico
    -no-feature-network -no-feature-sql -no-feature-printsupport
    -no-feature-concurrent -no-feature-xml
    # Debian's source has no Wacom tablet headers (removed as non-free).
    -no-feature-tabletevent
    # Direct2D stays on: in 6.4 QtGui's DirectWrite font engine and font
    # database are compiled only with it.
    --
    -DCMAKE_TOOLCHAIN_FILE="$toolchain"
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
)
bash scripts/qt-build.sh "$prefix" "$work" "$jobs" "${configure[@]}"
install -m 644 "$toolchain" "$prefix/lib/cmake/mingw-w64-x86_64-posix.cmake"
log "Qt for Windows in $prefix ($(du -sh "$prefix" | cut -f1)), built in $(((SECONDS - started) / 60)) min"
