// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
// moc reads this header through the window's and cannot parse the standard
// library's C++20 concepts; it needs nothing from them.
#ifndef Q_MOC_RUN
#include <compare>
#endif

// A 16-bit signed integer whose arithmetic never wraps: a result outside
// -32768..32767 is the run-time overflow error. The game's counters and clock
// fields are kept in this width, so the limits are the ones a child could meet.
class Int16
{
public:
    static constexpr int Min = -32768;
    static constexpr int Max = 32767;

    constexpr Int16() = default;
    constexpr Int16(std::int16_t value)
        : m_value(value)
    {
    }

    // Throws RuntimeError(Overflow) when value does not fit.
    static Int16 checked(long long value);

    constexpr std::int16_t value() const { return m_value; }

    Int16 operator+(Int16 other) const { return checked(static_cast<long long>(m_value) + other.m_value); }
    Int16 operator-(Int16 other) const { return checked(static_cast<long long>(m_value) - other.m_value); }
    Int16 &operator+=(Int16 other) { return *this = *this + other; }
    Int16 &operator-=(Int16 other) { return *this = *this - other; }

    friend constexpr bool operator==(Int16, Int16) = default;
    friend constexpr auto operator<=>(Int16, Int16) = default;

private:
    std::int16_t m_value = 0;
};
