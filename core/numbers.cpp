// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "numbers.h"

#include "int16.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
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

// The characters of a text in turn, blanks, tabs and line feeds passed over
// wherever they stand.
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
    QChar take() { return m_text[m_pos++]; }
    // Takes a sign if one comes next: true for a minus.
    bool takeSign()
    {
        const QChar sign = peek();
        if (sign == u'-' || sign == u'+')
            take();
        return sign == u'-';
    }
    qsizetype position() const { return m_pos; }
    void rewind(qsizetype position) { m_pos = position; }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

// A decimal number: its significant digits, leading zeros dropped, times ten
// to the exponent.
struct Decimal {
    std::string digits;
    long long exponent = 0;
    bool droppedNonZero = false; // a digit past the significant ones was not zero

    // The next digit of the whole part, or of the fraction after the point,
    // where every place shifts the value, zeros included.
    void add(QChar digit, bool inFraction)
    {
        if (digits.size() >= SignificantDigits) {
            if (!inFraction)
                exponent = std::min(exponent + 1, ExponentLimit);
            droppedNonZero = droppedNonZero || digit != u'0';
            return;
        }
        if (!digits.empty() || digit != u'0')
            digits.push_back(char(digit.unicode()));
        if (inFraction)
            exponent = std::max(exponent - 1, -ExponentLimit);
    }
};

// The digits before and after a point.
Decimal readMantissa(Reader &in)
{
    Decimal number;
    while (isDigit(in.peek()))
        number.add(in.take(), false);
    if (in.peek() == u'.') {
        in.take();
        while (isDigit(in.peek()))
            number.add(in.take(), true);
    }
    // One more place holding a 1 stands for all that was dropped: it lifts the
    // value off a tie the way the dropped digits would, and is too small to
    // move it past any other double.
    if (number.droppedNonZero && !number.digits.empty()) {
        number.digits.push_back('1');
        --number.exponent;
    }
    return number;
}

// A written exponent, "e", "E", "d" or "D" with a sign and digits; 0 and
// nothing taken when no digit follows the letter.
long long readExponent(Reader &in)
{
    const qsizetype before = in.position();
    const QChar marker = in.peek();
    if (marker != u'e' && marker != u'E' && marker != u'd' && marker != u'D')
        return 0;
    in.take();
    const bool negative = in.takeSign();
    if (!isDigit(in.peek())) {
        in.rewind(before);
        return 0;
    }
    long long written = 0;
    while (isDigit(in.peek()))
        written = std::min(written * 10 + (in.take().unicode() - u'0'), ExponentLimit);
    return negative ? -written : written;
}

// The double nearest to the number, correctly rounded.
double toDouble(const Decimal &number)
{
    const std::string text = number.digits + 'e' + std::to_string(number.exponent);
    double value = 0.0;
#if defined(__cpp_lib_to_chars)
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    Q_UNUSED(end);
    const bool outOfRange = error == std::errc::result_out_of_range;
#else
    // The browser's C++ library reads no floating point with from_chars; its
    // strtod rounds as correctly, and the text holds no decimal point that a
    // locale could read otherwise.
    errno = 0;
    value = std::strtod(text.c_str(), nullptr);
    const bool outOfRange = errno == ERANGE;
#endif
    if (outOfRange) {
        // Past the largest double or below the smallest: the digits are never
        // zero here, so the sign of the decimal magnitude decides.
        const long long magnitude = number.exponent + static_cast<long long>(number.digits.size());
        value = magnitude > 0 ? std::numeric_limits<double>::max() : 0.0;
    }
    return value;
}

} // namespace

double leadingNumber(QStringView text)
{
    Reader in(text);
    const bool negative = in.takeSign();
    Decimal number = readMantissa(in);
    if (number.digits.empty())
        return 0.0;
    number.exponent = std::clamp(number.exponent + readExponent(in), -2 * ExponentLimit, 2 * ExponentLimit);
    const double value = toDouble(number);
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
