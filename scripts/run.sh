#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds the game alone, not the tests, and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh gomirlo
exec build/bin/gomirlo
