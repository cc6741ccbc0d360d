// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// The program's one source of random numbers: a 24-bit linear congruential
// generator of values in [0, 1). It starts every run from the same state, so
// the first question of every run gets the same tint, and is re-seeded from the
// time of day at each question.
class RandomGenerator
{
public:
    // The next value, uniformly in [0, 1).
    float next();
    // The integer part of next() × n: an integer from 0 to n − 1.
    int drawBelow(int n);
    // Mixes the time of day (in seconds since midnight) into the state.
    void reseed(double secondsSinceMidnight);

private:
    static constexpr std::uint32_t Mask = 0xFFFFFF;
    std::uint32_t m_state = 0x50000; // the fixed unseeded state
};
