// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "programexit.h"

#include <cstdio>
#include <cstdlib>

void quitImmediately(int status)
{
    std::fflush(nullptr);
    std::_Exit(status);
}
