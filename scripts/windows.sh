#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds the Windows program from this checkout into build-win/:
#   build-win/gomirlo.exe, build-win/suoni/   the game, statically linked, and its cues
#   build-win/GomirloSetup.exe                the installer (NSIS), for one user, no admin rights
#   build-win/gomirlo-windows.zip             the same program to unzip anywhere
# The build tree itself is build-win/cmake/.
#
# It needs a static Qt 6.4.2 for Windows x86-64: the folder that holds
# bin/qt-cmake, named by GOMIRLO_QT_WIN64. Without it, that Qt is built once
# from Debian's source by scripts/build-qt-win64.sh (about 15 minutes on two
# cores) and kept in ${XDG_CACHE_HOME:-~/.cache}/gomirlo/qt6-win64-6.4.2.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS

# The cross compiler, Debian's Qt tools (moc, uic, rcc) of the same version as
# the Windows Qt, Qt's Italian translation, NSIS and zip.
bash scripts/deps.sh build windows

qt=${GOMIRLO_QT_WIN64:-}
if [ -z "$qt" ]; then
    qt=${XDG_CACHE_HOME:-$HOME/.cache}/gomirlo/qt6-win64-6.4.2
    if [ ! -x "$qt/bin/qt-cmake" ]; then
        echo "== No static Qt for Windows in $qt yet: building it from Debian's source,"
        echo "   once, which takes about 15 minutes on two cores (set GOMIRLO_QT_WIN64 to use one you have)"
        GOMIRLO_QT_PREFIX=$qt bash scripts/build-qt-win64.sh
    fi
fi
qt=$(realpath "$qt")
if [ ! -x "$qt/bin/qt-cmake" ]; then
    echo "No bin/qt-cmake in $qt: GOMIRLO_QT_WIN64 must name the folder of a static Qt for Windows" >&2
    exit 1
fi
toolchain=$qt/lib/cmake/mingw-w64-x86_64-posix.cmake

out=build-win
tree=$out/cmake
# Files are dated by the last commit, where a date goes into the program (the
# resources) or the zip, so that the same sources give the same bytes.
stamp=$(git log -1 --format=%ct 2>/dev/null || date +%s)
export QT_RCC_SOURCE_DATE_OVERRIDE=$stamp
echo "== Building the game for Windows in $tree"
# The Qt's own records name the folder it was built in; the chain-loaded
# toolchain file makes it work wherever it was unpacked.
"$qt/bin/qt-cmake" -S . -B "$tree" -G Ninja --no-warn-unused-cli -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$toolchain" >/dev/null
nice cmake --build "$tree" -j2

# The program's folder as a teacher gets it: the game and suoni/. The release
# is linked without its symbols (packaging/windows/CMakeLists.txt).
rm -rf "$out/gomirlo.exe" "$out/suoni" "$out/GomirloSetup.exe" "$out/gomirlo-windows.zip" "$out/zip"
cmake --install "$tree" --prefix "$out" >/dev/null

# Statically linked means that the game imports nothing but Windows' own DLLs:
# a DLL of Qt, of the compiler (libstdc++, libgcc, winpthread) or of anything
# else would be missing on the school's PC.
imports=$(x86_64-w64-mingw32-objdump -p "$out/gomirlo.exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
system_dlls='^(advapi32|authz|comdlg32|d3d11|d3d9|dwmapi|dwrite|dxgi|gdi32|imm32|kernel32|msvcrt|netapi32|ole32|oleaut32|shcore|shell32|shlwapi|user32|userenv|uxtheme|version|winmm|ws2_32|wtsapi32|api-ms-win-[a-z0-9-]+)\.dll$'
foreign=$(grep -v -i -E "$system_dlls" <<<"$imports" || true)
if [ -n "$foreign" ]; then
    echo "gomirlo.exe imports DLLs that Windows does not have:" >&2
    echo "$foreign" >&2
    exit 1
fi
echo "gomirlo.exe imports only Windows' own DLLs: $(tr '\n' ' ' <<<"$imports")"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$tree/CMakeCache.txt")

echo "== Making the installer"
makensis -V2 -INPUTCHARSET UTF8 \
    -DVERSION="$version" \
    -DPROGRAM="$PWD/$out" \
    -DICON="$PWD/ui/pictures/gomirlo.ico" \
    -DOUTFILE="$PWD/$out/GomirloSetup.exe" \
    packaging/windows/gomirlo.nsi

echo "== Making the portable zip"
# Gomirlo/ with the game and its cues, in a fixed order so that the same
# program gives the same zip.
stage=$out/zip/Gomirlo
mkdir -p "$stage"
cp -r "$out/gomirlo.exe" "$out/suoni" "$stage/"
find "$out/zip" -exec touch -d "@$stamp" {} +
(cd "$out/zip" && find Gomirlo -type f | LC_ALL=C sort | TZ=UTC zip -q -X -D -9 ../gomirlo-windows.zip -@)
rm -rf "$out/zip"

echo "== Done in $((SECONDS - started)) s"
ls -l "$out/gomirlo.exe" "$out/GomirloSetup.exe" "$out/gomirlo-windows.zip"
