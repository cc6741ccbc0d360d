// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "randomgenerator.h"

#include <cstdint>
#include <cstring>

float RandomGenerator::next()
{
    m_state = (m_state * 1140671485u + 12820163u) & Mask;
    return static_cast<float>(m_state) / 16777216.0f;
}

int RandomGenerator::drawBelow(int n)
{
    // In double, so that a value just under 1 times n stays under n.
    return static_cast<int>(static_cast<double>(next()) * n);
}

void RandomGenerator::reseed(double secondsSinceMidnight)
{
    // Both halves of the double, folded into 16 bits in the middle of the
    // state: questions a millisecond apart get different sequences. The bits
    // are copied as they are (std::bit_cast, which the browser's C++ library
    // lacks).
    std::uint64_t bits = 0;
    std::memcpy(&bits, &secondsSinceMidnight, sizeof bits);
    const auto high = static_cast<std::uint32_t>(bits >> 32);
    const auto low = static_cast<std::uint32_t>(bits);
    const std::uint32_t mixed = ((high ^ (high >> 16)) ^ (low ^ (low >> 16))) & 0xFFFF;
    m_state = ((mixed << 8) | (m_state & 0xFF)) & Mask;
}
