// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "countdown.h"

#include "numbers.h"

QString countdownText(Int16 hours, Int16 minutes, float seconds)
{
    return formatTwoDigits(hours.value()) + u':' + formatTwoDigits(minutes.value()) + u':' + formatTwoDigits(seconds);
}

void countdownStep(Int16 &hours, Int16 &minutes, float &seconds)
{
    if (seconds == 0.0f) {
        if (minutes > Int16(0)) {
            minutes -= Int16(1);
            seconds = 60.0f;
        } else if (hours > Int16(0)) {
            hours -= Int16(1);
            minutes = Int16(59);
            seconds = 60.0f;
        }
    }
    seconds -= 1.0f;
}
