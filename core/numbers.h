// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// Conversions between the texts on screen and numbers. None of them throws:
// every text, however odd, has a number and every number has a text.

// The number that a text begins with. Blanks, tabs and line feeds are skipped
// wherever they stand; reading stops at the first other character that cannot
// continue the number (a carriage return, a letter, a second sign), and a text
// that does not begin with a number gives 0. Only the ASCII digits count. A
// number too large for a double gives the largest double of its sign.
double leadingNumber(QStringView text);

// The typed answer as the 16-bit value it is compared as: the leading number
// rounded to the nearest whole number, halves to the even neighbour. Empty when
// that value does not fit 16 bits.
std::optional<std::int16_t> answerValue(QStringView text);

// A whole number in decimal, without leading zeros or separators and with at
// least one digit (the captions' "#0", "###0" and "####0" patterns all write a
// whole number this way, wider numbers whole).
QString formatWhole(long long value);

// A number rounded to a whole one and written with at least two digits, with
// leading zeros: the clock's "00" pattern.
QString formatTwoDigits(double value);
