#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds the Debian package of the game into build-deb/ and checks it with
# lintian. Prints the package's path on its last line. Install it with
#     sudo apt-get install ./build-deb/gomirlo_<version>_<arch>.deb
# Exits non-zero when the build fails or lintian finds an error or a warning.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh build package

build=build-deb
# Debian's hardening flags (fortified functions, read-only relocations, bind
# now), as a package built by Debian's own tools gets them.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX=/usr \
    -DBUILD_TESTING=OFF \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
    >/dev/null
cmake --build "$build"
rm -f "$build"/gomirlo_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/gomirlo_*.deb)

echo "Contents of $deb:"
dpkg-deb --field "$deb"
dpkg-deb --contents "$deb"

# Warnings fail the package too: they are where lintian tells of an icon of
# the wrong size for its folder, a missing manual page or an absolute link.
lintian --fail-on error,warning --display-level '>=warning' "$deb"
echo "lintian: no errors, no warnings"
echo "$deb"
