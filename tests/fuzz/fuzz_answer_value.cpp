// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The typed or pasted answer as the 16-bit value it is judged as.
#include "fuzzsupport.h"
#include "int16.h"
#include "numbers.h"
#include "scoring.h"

#include <cmath>

namespace {

bool onlyDigits(QStringView text)
{
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

std::string shownAnswer(const std::optional<std::int16_t> &answer)
{
    return answer ? std::to_string(*answer) : std::string("none");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // The first byte is the question's expected answer, the rest the text.
    if (size == 0)
        return 0;
    const Int16 expected(std::int16_t(11 + data[0] % 9));
    const QString text = textFromInput(data + 1, size - 1);
    const std::optional<std::int16_t> answer = answerValue(text);

    // Rounded to the nearest whole number, halves to the even one; a value
    // that 16 bits cannot hold is no answer at all rather than a wrapped one.
    const double rounded = std::nearbyint(leadingNumber(text));
    if (rounded >= -32768.0 && rounded <= 32767.0)
        FUZZ_CHECK(answer && *answer == rounded,
                   "text " + shown(text) + " gave " + shownAnswer(answer) + ", expected " + std::to_string(rounded));
    else
        FUZZ_CHECK(!answer, "text " + shown(text) + " gave " + shownAnswer(answer) + " for " + std::to_string(rounded));

    // What typing produces: digits only, their value or nothing when too big.
    if (onlyDigits(text)) {
        long long exact = 0;
        for (const QChar c : text)
            exact = std::min(exact * 10 + (c.unicode() - u'0'), 1000000LL);
        const std::optional<std::int16_t> typed =
            exact <= 32767 ? std::optional<std::int16_t>(std::int16_t(exact)) : std::nullopt;
        FUZZ_CHECK(answer == typed, "digits " + shown(text) + " gave " + shownAnswer(answer));
    }

    // Judging is exactly this comparison: no text is right by accident and no
    // text is an error.
    const bool right = isRightAnswer(text, expected);
    FUZZ_CHECK(right == (answer && *answer == expected.value()),
               "text " + shown(text) + " judged " + (right ? "right" : "wrong") + " against "
                   + std::to_string(expected.value()));
    return 0;
}
