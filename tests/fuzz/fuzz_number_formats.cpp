// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The captions' number formats: whole numbers for the scores, two digits for
// the clock.
#include "fuzzsupport.h"
#include "numbers.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {

// Optional sign, then digits with no leading zero unless the number is zero,
// and at least minimumDigits of them.
bool isPlainNumber(QStringView text, qsizetype minimumDigits)
{
    QStringView digits = text.startsWith(u'-') ? text.sliced(1) : text;
    if (digits.size() < minimumDigits)
        return false;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

void checkWhole(long long value)
{
    const QString text = formatWhole(value);
    const auto detail = [&] { return std::to_string(value) + " written " + shown(text); };
    FUZZ_CHECK(isPlainNumber(text, 1), detail());
    FUZZ_CHECK(text == u"0" || (!text.startsWith(u'0') && !text.startsWith(u"-0")), detail());
    bool ok = false;
    FUZZ_CHECK(text.toLongLong(&ok) == value && ok, detail());
}

void checkTwoDigits(double value)
{
    const QString text = formatTwoDigits(value);
    // Only a number that rounds to a long long has a rounded value to compare
    // with; any other must still give some text without harm.
    if (!std::isfinite(value) || value < -0x1p63 || value >= 0x1p63)
        return;
    const long long whole = std::llround(value);
    const auto detail = [&] { return shownDouble(value) + " written " + shown(text); };
    FUZZ_CHECK(isPlainNumber(text, 2), detail());
    bool ok = false;
    FUZZ_CHECK(text.toLongLong(&ok) == whole && ok, detail());
    // Leading zeros only to make up the two places.
    const qsizetype digits = text.size() - (text.startsWith(u'-') ? 1 : 0);
    FUZZ_CHECK(digits == 2 || text[text.size() - digits] != u'0', detail());
}

template<typename T>
T take(const std::uint8_t *&data, std::size_t &size)
{
    T value{};
    const std::size_t n = std::min(size, sizeof value);
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto whole = take<long long>(data, size);
    const auto real = take<double>(data, size);
    const auto single = take<float>(data, size);

    checkWhole(whole);
    // A whole number to the nearest score a child can reach.
    checkWhole(whole % 100000);

    checkTwoDigits(real);
    // The clock's fields: whole values, a float for the seconds.
    checkTwoDigits(double(single));
    checkTwoDigits(double(whole));
    checkTwoDigits(double(whole % 100) + (real - std::trunc(real)));
    return 0;
}
