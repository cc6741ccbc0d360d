// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "int16.h"

#include <QString>

// The countdown is kept as hours, minutes and whole seconds; the seconds are a
// single-precision float that only ever holds whole values.

// The display text: hours, minutes and seconds, each with at least two digits,
// joined by ":". "00:05:00" for five minutes.
QString countdownText(Int16 hours, Int16 minutes, float seconds);

// Takes one second off the clock. A clock at a whole minute borrows first, so
// the display never shows 60 seconds.
void countdownStep(Int16 &hours, Int16 &minutes, float &seconds);
