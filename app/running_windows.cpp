// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

namespace {

// Marks, for as long as the game runs, that it runs: the installer and the
// uninstaller look for this name and ask for the game to be closed before they
// change its files, so that an upgrade or a removal never half-happens.
// Windows drops the mark when the program ends, however it ends.
[[maybe_unused]] const HANDLE running = CreateMutexW(nullptr, FALSE, L"Local\\Gomirlo");

} // namespace
