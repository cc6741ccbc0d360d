// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "int16.h"

#include <QString>

#include <cstdint>

// What the answer box does with a typed character, by its code.
enum class KeyAction {
    Pass, // Backspace and the digits reach the box unchanged
    Judge, // Enter judges the answer (and still reaches the box)
    Cancel, // everything else never reaches the box
};

KeyAction classifyKey(std::int16_t code);

// Whether the text in the answer box is the expected answer. A text whose
// value does not fit 16 bits is a wrong answer, not an error.
bool isRightAnswer(QStringView answerText, Int16 expected);

// Whether the score shown beats the stored record. The record is the number
// its text begins with (an empty or unreadable record counts as 0); the score
// text is always a whole number, and anything else is a type mismatch error.
// Equal does not beat.
bool beatsRecord(QStringView recordText, QStringView scoreText);
