// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The leading-number conversion, which reads pasted answers and the record
// score, against the C library's strtod as an independent reading.
#include "fuzzsupport.h"
#include "numbers.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>

namespace {

bool isSkipped(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

// The characters that can belong to a number, blanks dropped and the old
// exponent letter D spelled E, up to the first one that cannot: strtod reads
// the same grammar from that, and reads it correctly rounded.
std::string numberCharacters(QStringView text)
{
    std::string chars;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (isSkipped(u))
            continue;
        if ((u >= u'0' && u <= u'9') || u == u'+' || u == u'-' || u == u'.')
            chars.push_back(char(u));
        else if (u == u'e' || u == u'E' || u == u'd' || u == u'D')
            chars.push_back('e');
        else
            break;
    }
    return chars;
}

double strtodReading(const std::string &chars)
{
    const double value = std::strtod(chars.c_str(), nullptr);
    // Too large for a double reads as the largest one, not as infinity.
    return std::isinf(value) ? std::copysign(DBL_MAX, value) : value;
}

bool onlyDigits(QStringView text)
{
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = textFromInput(data, size);
    const double value = leadingNumber(text);

    FUZZ_CHECK(std::isfinite(value), "text " + shown(text) + " gave " + shownDouble(value));

    // Correctly rounded, like strtod, however many digits: past a few hundred
    // of them only a tie between two doubles is left to decide.
    const std::string chars = numberCharacters(text);
    const double expected = strtodReading(chars);
    FUZZ_CHECK(value == expected,
               "text " + shown(text) + " gave " + shownDouble(value) + ", strtod reads " + chars.substr(0, 300)
                   + " as " + shownDouble(expected));

    // A typed answer: its digits are its value, leading zeros and all.
    if (!text.isEmpty() && text.size() <= 15 && onlyDigits(text)) {
        long long exact = 0;
        for (const QChar c : text)
            exact = exact * 10 + (c.unicode() - u'0');
        FUZZ_CHECK(value == double(exact), "digits " + shown(text) + " gave " + shownDouble(value));
    }

    // A record file's line end stops the number, whatever follows it.
    const QString line = text + QStringLiteral("\r\n") + text;
    FUZZ_CHECK(leadingNumber(line) == value, "line " + shown(line) + " read past its end");
    return 0;
}
