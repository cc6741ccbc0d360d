// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// A typed or pasted answer, judged as the 16-bit number its text begins with,
// and that leading-number reading (which also reads the record score) against
// the C library's strtod of the same characters.
#include "fuzzcheck.h"
#include "int16.h"
#include "numbers.h"
#include "scoring.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <string>

namespace {

// The characters that numbers are made of, and a few that stop or bend them.
constexpr char NumberAlphabet[] = "01234567890123456789012345678901234567890123456789+-.eEdD \t\n\r,x";

// The second byte picks how the rest becomes a text: each byte a Latin-1
// character, pairs of bytes UTF-16 units (lone surrogates too), or each byte
// a character of NumberAlphabet, which finds numbers sooner.
QString textFrom(const std::uint8_t *data, std::size_t size)
{
    const auto *bytes = reinterpret_cast<const char *>(data + 1);
    const auto count = qsizetype(size - 1);
    QString text;
    switch (data[0] % 3) {
    case 0:
        return QString::fromLatin1(bytes, count);
    case 1:
        text.resize(count / 2);
        std::memcpy(text.data(), bytes, std::size_t(text.size()) * 2);
        return text;
    default:
        for (qsizetype i = 0; i < count; ++i)
            text += QLatin1Char(NumberAlphabet[uchar(bytes[i]) % (sizeof NumberAlphabet - 1)]);
        return text;
    }
}

// strtod reads the same grammar from the characters that can belong to a
// number, blanks dropped and the old exponent letter D spelled E, correctly
// rounded however many digits there are.
double strtodReading(QStringView text)
{
    std::string chars;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u' ' || u == u'\t' || u == u'\n')
            continue;
        if ((u >= u'0' && u <= u'9') || u == u'+' || u == u'-' || u == u'.')
            chars.push_back(char(u));
        else if (u == u'e' || u == u'E' || u == u'd' || u == u'D')
            chars.push_back('e');
        else
            break;
    }
    const double value = std::strtod(chars.c_str(), nullptr);
    return std::isinf(value) ? std::copysign(DBL_MAX, value) : value; // too large reads as the largest
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // The first byte is the question's expected answer, the rest the text.
    if (size < 2)
        return 0;
    const Int16 expected(std::int16_t(11 + data[0] % 9));
    const QString text = textFrom(data + 1, size - 1);
    const double value = leadingNumber(text);
    FUZZ_CHECK(value == strtodReading(text));
    // A record file's line end stops the number, whatever follows it.
    FUZZ_CHECK(leadingNumber(text + QStringLiteral("\r\n") + text) == value);

    // Rounded halves to even; a value that 16 bits cannot hold is no answer,
    // never a wrapped one, and judging is exactly this comparison.
    const double rounded = std::nearbyint(value);
    const std::optional<std::int16_t> answer = answerValue(text);
    FUZZ_CHECK(rounded >= -32768 && rounded <= 32767 ? answer && *answer == rounded : !answer);
    FUZZ_CHECK(isRightAnswer(text, expected) == (answer && *answer == expected.value()));
    return 0;
}
