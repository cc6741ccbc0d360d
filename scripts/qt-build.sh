#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds a static qtbase 6.4.2 from Debian's own qt6-base source, for the
# system that the configure options name, and installs it into PREFIX with its
# licences (PREFIX/licenses/qtbase). The recipes scripts/build-qt-win64.sh and
# scripts/build-qt-wasm.sh run it:
#
#   bash scripts/qt-build.sh PREFIX WORK JOBS CONFIGURE_OPTION...
#
# WORK keeps the downloaded source package (deb-src/) for a rebuild; the
# source and build trees made in it go once the Qt is installed.
set -euo pipefail
cd "$(dirname "$0")/.."
prefix=$1 work=$2 jobs=$3
shift 3
source=$work/$(basename "$prefix")-source
build=$work/$(basename "$prefix")-build

log() { printf '\n== [%s] %s\n' "$(date +%T)" "$*"; }

# Qt's tools run on the build machine (moc, rcc, uic): Debian's, which must be
# of the same version as the Qt built here.
host_qt=$(dpkg-query -W -f='${Version}' qt6-base-dev)
if [[ $host_qt != 6.4.2* ]]; then
    echo "The build machine's Qt is $host_qt; this needs 6.4.2 (Debian 12)" >&2
    exit 1
fi

dsc=$(bash scripts/qt-source.sh "$work/deb-src")
log "unpacking the source into $source"
rm -rf "$source"
# dpkg-source checks the checksums the .dsc gives.
dpkg-source --skip-patches -x "$dsc" "$source" >/dev/null
# Of Debian's patches only this one touches code built here: a security fix
# in QtGui's text layout. The others concern modules, CPUs or packaging that
# this build leaves out.
patch -d "$source" -p1 --forward --batch --quiet < "$source/debian/patches/cve-2023-32763.diff"
# One patch of ours. Debian's rcc, which the build machine runs, compresses
# resources with zstd, and the code it writes then needs a zstd that this
# QtCore does not have. qt_add_resources already passes --no-zstd in that
# case; targets made by qt_add_executable and qt_add_library get the same
# for AUTORCC.
patch -d "$source" -p1 --forward --batch --quiet <<'PATCH_EOF'
--- a/src/corelib/Qt6CoreMacros.cmake
+++ b/src/corelib/Qt6CoreMacros.cmake
@@ -585,6 +585,20 @@
     endif()
 
     _qt_internal_set_up_static_runtime_library("${target}")
+    _qt_internal_autorcc_no_zstd("${target}")
+endfunction()
+
+# When cross-compiling, AUTORCC runs the host's rcc. If that rcc has zstd support
+# (Debian's does) it compresses resources with zstd and the generated code calls
+# qResourceFeatureZstd(), which a target QtCore built without zstd lacks.
+# qt_add_resources() already passes --no-zstd in that case; do the same for AUTORCC.
+function(_qt_internal_autorcc_no_zstd target)
+    if(DEFINED QT_FEATURE_zstd AND NOT QT_FEATURE_zstd)
+        get_target_property(type "${target}" TYPE)
+        if(NOT type STREQUAL "INTERFACE_LIBRARY")
+            set_property(TARGET "${target}" APPEND PROPERTY AUTORCC_OPTIONS "--no-zstd")
+        endif()
+    endif()
 endfunction()
 
 function(_qt_internal_finalize_executable target)
@@ -2065,6 +2079,7 @@
 
     add_library(${target} ${type_to_create} ${arg_UNPARSED_ARGUMENTS})
     _qt_internal_set_up_static_runtime_library(${target})
+    _qt_internal_autorcc_no_zstd(${target})
 
     if(NOT type_to_create STREQUAL "INTERFACE" AND NOT type_to_create STREQUAL "OBJECT")
         _qt_internal_apply_win_prefix_and_suffix("${target}")
PATCH_EOF

log "configuring"
rm -rf "$build"
mkdir -p "$build"
(cd "$build" && nice -n 19 "$source/configure" -prefix "$prefix" "$@") > "$work/configure.log" 2>&1 \
    || { tail -40 "$work/configure.log" >&2; echo "configure failed, see $work/configure.log" >&2; exit 1; }

log "building with $jobs jobs (log: $work/build.log)"
if ! nice -n 19 cmake --build "$build" --parallel "$jobs" > "$work/build.log" 2>&1; then
    grep -E -A15 '^FAILED' "$work/build.log" | head -60 >&2
    echo "build failed, see $work/build.log" >&2
    exit 1
fi

log "installing into $prefix"
rm -rf "$prefix"
cmake --install "$build" > "$work/install.log"
# The licences of this Qt and of what it bundles, which go with every program
# linked against it (scripts/licences.sh puts them in a LICENZE folder).
bash scripts/qt-source.sh "$work/deb-src" "$prefix/licenses/qtbase" >/dev/null
rm -rf "$build" "$source"
