#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds the Windows program from this checkout into build-win/:
#   build-win/gomirlo.exe, build-win/suoni/   the game, statically linked, and its cues
#   build-win/LICENZE/                        its licence, the notices of all it links, where the sources are
#   build-win/GomirloSetup.exe                the installer (NSIS): for one user, or for the whole PC
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

qt=$(bash scripts/qt-for.sh win64)
toolchain=$qt/lib/cmake/mingw-w64-x86_64-posix.cmake

out=build-win
tree=$out/cmake
# Files are dated by the last commit, where a date goes into the program (the
# resources) or the zip, so that the same sources give the same bytes.
stamp=$(git log -1 --format=%ct 2>/dev/null || date +%s)
export QT_RCC_SOURCE_DATE_OVERRIDE=$stamp
echo "== Building the game for Windows in $tree"
# A tree configured with another Qt would go on building with that one.
grep -qsxF "Qt6_DIR:PATH=$qt/lib/cmake/Qt6" "$tree/CMakeCache.txt" || rm -rf "$tree"
# The Qt's own records name the folder it was built in; the chain-loaded
# toolchain file makes it work wherever it was unpacked.
"$qt/bin/qt-cmake" -S . -B "$tree" -G Ninja --no-warn-unused-cli -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$toolchain" >/dev/null
nice cmake --build "$tree" -j2

# The program's folder as a teacher gets it: the game and suoni/. The release
# is linked without its symbols (packaging/windows/CMakeLists.txt).
rm -rf "$out/gomirlo.exe" "$out/suoni" "$out/LICENZE" "$out/GomirloSetup.exe" "$out/gomirlo-windows.zip" "$out/zip"
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

# The manifest as Windows reads it from the program: run with the user's own
# rights, as a program for Windows 10 and 11, with long paths, and no DPI
# setting of its own, which would fight Qt's.
manifest=$(wrestool -x --raw --type=24 "$out/gomirlo.exe")
read_manifest() { xmllint --xpath "string(//*[local-name()='$1']${2:-})" - <<<"$manifest"; }
if [ "$(read_manifest requestedExecutionLevel /@level)" != asInvoker ] ||
   [ "$(read_manifest supportedOS /@Id)" != '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}' ] ||
   [ "$(read_manifest longPathAware)" != true ] ||
   [ -n "$(read_manifest dpiAware)$(read_manifest dpiAwareness)" ]; then
    echo "gomirlo.exe does not carry the manifest it should:" >&2
    echo "${manifest:-(none)}" >&2
    exit 1
fi
echo "gomirlo.exe's manifest: asInvoker, Windows 10/11, long paths, no DPI setting"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$tree/CMakeCache.txt")

echo "== Gathering the licences into $out/LICENZE"
licences=$out/LICENZE
# The compiler's runtime linked into the program (libstdc++, libgcc,
# winpthreads, the C runtime's start-up): the copyright files of the Debian
# packages that hold them, GCC's runtime library exception included.
declare -A runtime=() # Debian source package: a package built from it
for library in libstdc++.a libgcc.a libgcc_eh.a libwinpthread.a libmingwex.a libmingw32.a crt2.o; do
    package=$(dpkg -S "$(realpath "$(x86_64-w64-mingw32-g++-posix -print-file-name=$library)")" | cut -d: -f1)
    runtime[$(dpkg-query -W -f='${source:Package}' "$package")]=$package
done
bash scripts/licences.sh "$qt" "$tree" "$licences" windows packaging/windows/SORGENTI.txt.in "${runtime[@]}"
# Notepad of any Windows 10 reads them with Windows' own line ends.
sed -i 's/\r*$/\r/' "$licences"/*.txt
ls "$licences"

echo "== Making the installer"
# It installs, and its uninstaller removes, the cues by the names the game
# plays them by, and the licences by the names gathered above.
cue() { sed -n "s/.*char $1\[\] = \"\(.*\)\";/\1/p" ui/cuefiles.h; }
{
    echo '!macro INSTALL_LICENCES'
    for file in "$licences"/*; do echo "    File \"$PWD/$file\""; done
    echo '!macroend'
    echo '!macro REMOVE_LICENCES'
    for file in "$licences"/*; do echo "    Delete \"\$INSTDIR\\LICENZE\\$(basename "$file")\""; done
    echo '!macroend'
} > "$tree/licences.nsh"
makensis -V2 -INPUTCHARSET UTF8 \
    -DVERSION="$version" \
    -DPROGRAM="$PWD/$out" \
    -DCUE_FOLDER="$(cue Folder)" -DCUE_RIGHT="$(cue RightAnswer)" -DCUE_WRONG="$(cue WrongAnswer)" \
    -DLICENCES="$PWD/$tree/licences.nsh" \
    -DICON="$PWD/ui/pictures/gomirlo.ico" \
    -DOUTFILE="$PWD/$out/GomirloSetup.exe" \
    packaging/windows/gomirlo.nsi
# Sharp at 150 %: the installer says it draws for the screen's DPI itself.
manifest=$(wrestool -x --raw --type=24 "$out/GomirloSetup.exe")
if [ "$(read_manifest dpiAware)" != true ]; then
    echo "GomirloSetup.exe does not say it is DPI-aware:" >&2
    echo "${manifest:-(none)}" >&2
    exit 1
fi

echo "== Making the portable zip"
# Gomirlo/ with the game, its cues and LICENZE/, in a fixed order so that the same
# program gives the same zip.
stage=$out/zip/Gomirlo
mkdir -p "$stage"
cp -r "$out/gomirlo.exe" "$out/suoni" "$out/LICENZE" "$stage/"
find "$out/zip" -exec touch -d "@$stamp" {} +
(cd "$out/zip" && find Gomirlo -type f | LC_ALL=C sort | TZ=UTC zip -q -X -D -9 ../gomirlo-windows.zip -@)
rm -rf "$out/zip"

echo "== Done in $((SECONDS - started)) s"
ls -l "$out/gomirlo.exe" "$out/GomirloSetup.exe" "$out/gomirlo-windows.zip"
