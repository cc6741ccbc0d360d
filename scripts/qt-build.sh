#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Unpacks Debian's qt6-base source package (the .dsc that scripts/qt-source.sh
# prints) into SOURCE, with the patches that the Qts of scripts/build-qt-*.sh
# are built with, SOURCE emptied first:
#
#   bash scripts/qt-unpack.sh DSC SOURCE
set -euo pipefail
dsc=$1 source=$2

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
