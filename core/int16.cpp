// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "int16.h"

#include "runtimeerror.h"

Int16 Int16::checked(long long value)
{
    if (value < Min || value > Max)
        throw RuntimeError(RuntimeError::Overflow);
    return Int16(static_cast<std::int16_t>(value));
}
