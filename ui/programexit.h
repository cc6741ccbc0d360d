// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Ends the program on the spot, with the exit status given: no handler that is
// running or waiting takes another step, no further event is handled, and the
// window goes without any unload handling. Everything the game must keep (the
// record files) is on the disk by then.
[[noreturn]] void quitImmediately(int status);
