// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "numbers.h"

#include "int16.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cmath>
#include <limits>
#include <string>

namespace {

bool isSkipped(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Digits beyond this many can change a double only by breaking an exact tie
// between two neighbours (a tie has at most 767 significant digits), so all
// they need to leave behind is whether any of them was not zero. Dropping them
// keeps a pasted million-digit answer as cheap to read as a short one.
constexpr std::size_t SignificantDigits = 800;
// Exponents are saturated here: far past the range of a double either way,
// and past the length of any text, so that the places that digits beyond the
// significant ones add are never lost before a written exponent takes them
// back. Small enough that ten times it still fits a long long.
constexpr long long ExponentLimit = 100'000'000'000'000'000;

class Reader
{
public:
    explicit Reader(QStringView text)
        : m_text(text)
    {
    }

    // The next character that is not skipped, without taking it; 0 at the end.
    QChar peek()
    {
        while (m_pos < m_text.size() && isSkipped(m_text[m_pos]))
            ++m_pos;
        return m_pos < m_text.size() ? m_text[m_pos] : QChar();
    }
    void take() { ++m_pos; }
    qsizetype position() const { return m_pos; }
    void rewind(qsizetype position) { m_pos = position; }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

} // namespace

double leadingNumber(QStringView text)
{
    Reader in(text);
    bool negative = false;
    if (in.peek() == u'-' || in.peek() == u'+') {
        negative = in.peek() == u'-';
        in.take();
    }

    std::string digits; // significant digits, leading zeros dropped
    long long exponent = 0; // power of ten that the digits are multiplied by
    bool sawDigit = false;
    bool droppedNonZero = false; // a digit past the significant ones was not zero
    for (QChar c = in.peek(); isDigit(c); c = in.peek()) {
        sawDigit = true;
        if (!digits.empty() || c != u'0') {
            if (digits.size() < SignificantDigits) {
                digits.push_back(char(c.unicode()));
            } else {
                exponent = std::min(exponent + 1, ExponentLimit);
                droppedNonZero = droppedNonZero || c != u'0';
            }
        }
        in.take();
    }
    if (in.peek() == u'.') {
        in.take();
        for (QChar c = in.peek(); isDigit(c); c = in.peek()) {
            sawDigit = true;
            // Every place after the point shifts the value, zeros included;
            // once the digits are full the rest only count as dropped.
            if (digits.size() < SignificantDigits) {
                if (!digits.empty() || c != u'0')
                    digits.push_back(char(c.unicode()));
                exponent = std::max(exponent - 1, -ExponentLimit);
            } else {
                droppedNonZero = droppedNonZero || c != u'0';
            }
            in.take();
        }
    }
    if (!sawDigit || digits.empty())
        return 0.0;
    if (droppedNonZero) {
        // One more place holding a 1 stands for all that was dropped: it lifts
        // the value off a tie the way the dropped digits would, and is too
        // small to move it past any other double.
        digits.push_back('1');
        --exponent;
    }

    // An exponent counts only when at least one digit follows its letter.
    const QChar marker = in.peek();
    if (marker == u'e' || marker == u'E' || marker == u'd' || marker == u'D') {
        const qsizetype before = in.position();
        in.take();
        bool negativeExponent = false;
        if (in.peek() == u'-' || in.peek() == u'+') {
            negativeExponent = in.peek() == u'-';
            in.take();
        }
        long long written = 0;
        bool sawExponentDigit = false;
        for (QChar c = in.peek(); isDigit(c); c = in.peek()) {
            sawExponentDigit = true;
            written = std::min(written * 10 + (c.unicode() - u'0'), ExponentLimit);
            in.take();
        }
        if (sawExponentDigit)
            exponent = std::clamp(exponent + (negativeExponent ? -written : written), -2 * ExponentLimit, 2 * ExponentLimit);
        else
            in.rewind(before);
    }

    const std::string number = digits + 'e' + std::to_string(exponent);
    double value = 0.0;
#if defined(__cpp_lib_to_chars)
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    Q_UNUSED(end);
    const bool outOfRange = error == std::errc::result_out_of_range;
#else
    // The browser's C++ library reads no floating point with from_chars; its
    // strtod rounds as correctly, and the text holds no decimal point that a
    // locale could read otherwise.
    errno = 0;
    value = std::strtod(number.c_str(), nullptr);
    const bool outOfRange = errno == ERANGE;
#endif
    if (outOfRange) {
        // Past the largest double or below the smallest: the digits are never
        // zero here, so the sign of the decimal magnitude decides.
        const long long magnitude = exponent + static_cast<long long>(digits.size());
        value = magnitude > 0 ? std::numeric_limits<double>::max() : 0.0;
    }
    return negative ? -value : value;
}

std::optional<std::int16_t> answerValue(QStringView text)
{
    // nearbyint rounds in the default mode, to nearest with halves to even.
    const double rounded = std::nearbyint(leadingNumber(text));
    if (rounded < Int16::Min || rounded > Int16::Max)
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

QString formatWhole(long long value)
{
    return QString::number(value);
}

QString formatTwoDigits(double value)
{
    const long long whole = std::llround(value);
    // The magnitude is taken unsigned: the most negative long long, which is
    // also what llround gives for a NaN or an infinity, has no positive twin.
    const unsigned long long magnitude = whole < 0 ? 0ULL - static_cast<unsigned long long>(whole) : whole;
    const QString digits = QString::number(magnitude).rightJustified(2, u'0');
    return whole < 0 ? u'-' + digits : digits;
}
