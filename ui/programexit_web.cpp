// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "programexit.h"

#include <emscripten.h>

// A page has no process to end. The page is told: it hides the window and
// says that the game is over, with a button to play again. The runtime is
// marked as ended, as Emscripten's own exit marks it, so that no timer or
// other callback of the browser enters the program again; and the handler
// running is left by a thrown "unwind", as Emscripten leaves a stack on
// purpose. The record is in the browser's storage by then: every save waits
// for it.
void quitImmediately(int status)
{
    // clang-format off
    EM_ASM({
        if (typeof gomirloEnded === 'function')
            gomirloEnded($0);
        ABORT = true;
        throw 'unwind';
    }, status);
    // clang-format on
    __builtin_unreachable();
}
