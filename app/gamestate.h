// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "int16.h"

#include <QString>

// The variables that the game window's handlers share. They belong to the
// window object, not to its controls, so they outlive a new race: what the
// start-up does not set afresh keeps its value from the race before.
struct GameState {
    Int16 ExpectedAnswer; // the right answer to the question on show: 20 minus the shown number
    Int16 CorrectCount; // right answers in this race
    Int16 WrongCount; // wrong answers in this race
    QString RecordLine; // the text last written to a record file
    Int16 ClockHours;
    Int16 ClockMinutes;
    float ClockSeconds = 0; // always a whole number
    QString WinDir; // folder of the record files, ending in a separator
    Int16 Shade; // tint of the backdrop, 0 to 14
    QString PlayerName; // as typed at start-up, possibly empty
};
