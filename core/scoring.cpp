// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "scoring.h"

#include "numbers.h"
#include "runtimeerror.h"

#include <QLocale>

namespace {
constexpr std::int16_t Backspace = 8;
constexpr std::int16_t Enter = 13;
} // namespace

KeyAction classifyKey(std::int16_t code)
{
    if (code == Backspace || (code >= '0' && code <= '9'))
        return KeyAction::Pass;
    if (code == Enter)
        return KeyAction::Judge;
    return KeyAction::Cancel;
}

bool isRightAnswer(QStringView answerText, Int16 expected)
{
    const auto value = answerValue(answerText);
    return value && *value == expected.value();
}

bool beatsRecord(QStringView recordText, QStringView scoreText)
{
    bool ok = false;
    const double score = QLocale::c().toDouble(scoreText.trimmed(), &ok);
    if (!ok)
        throw RuntimeError(RuntimeError::TypeMismatch);
    return score > leadingNumber(recordText);
}
