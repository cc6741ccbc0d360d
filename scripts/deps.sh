#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Installs the Debian packages named on the command line that are missing.
# Sourced or run by the other scripts; uses sudo when not root.
set -euo pipefail

missing=()
for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
# One refresh of the package lists, then the install; a stale list is the
# usual reason an install fails on a fresh machine. Another install under way
# holds the locks for a while; wait for it.
"${sudo[@]}" apt-get update -q -o DPkg::Lock::Timeout=300
"${sudo[@]}" apt-get install -y -q -o DPkg::Lock::Timeout=300 --no-install-recommends "${missing[@]}"
