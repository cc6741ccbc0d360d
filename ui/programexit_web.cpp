// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "programexit.h"

#include <emscripten.h>

// A page has no process to end. The page is told, hides the window and says
// that the game is over, with a button to play again; the program's stack is
// left as Emscripten leaves it on purpose, by a thrown "unwind", so that the
// handler running takes no further step. The window's clock is stopped by
// then, and the record is in the browser's storage: every save waits for it.
void ImmediateExit::quit(int status)
{
    EM_ASM({
        if (typeof gomirloEnded === 'function')
            gomirloEnded($0);
        throw 'unwind';
    }, status);
    __builtin_unreachable();
}
