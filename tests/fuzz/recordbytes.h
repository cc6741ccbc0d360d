// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdlib>
#include <iconv.h>

// Readings of record-file bytes made without the game's decoder, to hold its
// results against: a strict UTF-8 check written from the standard's table of
// well-formed sequences, and Windows-1252 as the C library's iconv knows it.

// Length of the well-formed UTF-8 sequence at the start of bytes, 0 when
// there is none (overlong forms, surrogates, values past U+10FFFF, stray
// continuation bytes and cut-off sequences are all ill-formed).
inline qsizetype utf8SequenceLength(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return 0;
    const auto at = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = at(0);
    if (lead < 0x80)
        return 1;
    qsizetype length = 0;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (bytes.size() < length || at(1) < low || at(1) > high)
        return 0;
    for (qsizetype i = 2; i < length; ++i) {
        if (at(i) < 0x80 || at(i) > 0xBF)
            return 0;
    }
    return length;
}

// Length of the longest well-formed UTF-8 start of bytes.
inline qsizetype utf8WellFormedLength(QByteArrayView bytes)
{
    qsizetype at = 0;
    while (at < bytes.size()) {
        if (static_cast<signed char>(bytes[at]) >= 0) { // ASCII, most of any record file
            ++at;
            continue;
        }
        const qsizetype length = utf8SequenceLength(bytes.sliced(at));
        if (length == 0)
            break;
        at += length;
    }
    return at;
}

inline bool isUtf8(QByteArrayView bytes)
{
    return utf8WellFormedLength(bytes) == bytes.size();
}

// Whether bytes are the start of a well-formed sequence that the end cut
// off: one to three bytes that some continuation would make whole.
inline bool isCutUtf8Sequence(QByteArrayView bytes)
{
    if (bytes.isEmpty() || bytes.size() > 3)
        return false;
    for (int next = 0x80; next <= 0xBF; ++next) {
        QByteArray longer = bytes.toByteArray();
        while (longer.size() < 4) {
            longer.append(char(next));
            if (utf8SequenceLength(longer) == longer.size())
                return true;
        }
    }
    return false;
}

// Each byte as the Windows-1252 character iconv gives for it. The five codes
// that Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) have no
// character there, and the game reads them as the C1 control of the same code.
inline QString windows1252(QByteArrayView bytes)
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> built{};
        iconv_t converter = iconv_open("UTF-16LE", "CP1252");
        if (converter == iconv_t(-1))
            std::abort();
        for (int byte = 0; byte < 256; ++byte) {
            char in = char(byte);
            unsigned char out[4] = {};
            char *inPointer = &in;
            char *outPointer = reinterpret_cast<char *>(out);
            std::size_t inLeft = 1, outLeft = sizeof out;
            if (iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft) == std::size_t(-1))
                built[byte] = char16_t(byte);
            else
                built[byte] = char16_t(out[0] | out[1] << 8);
            iconv(converter, nullptr, nullptr, nullptr, nullptr);
        }
        iconv_close(converter);
        return built;
    }();
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes)
        text.append(QChar(table[static_cast<unsigned char>(c)]));
    return text;
}

inline QByteArrayView withoutByteOrderMark(QByteArrayView bytes)
{
    return bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes;
}
