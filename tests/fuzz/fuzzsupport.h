// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// What the fuzz targets share: a failed property aborts, so libFuzzer keeps
// the input as a crash, and the ways of turning raw bytes into a text.

// The text in a form that survives a terminal: printable ASCII as it is,
// everything else as \uXXXX, cut short after a few hundred characters.
inline std::string shown(QStringView text)
{
    std::string out;
    for (qsizetype i = 0; i < text.size() && i < 300; ++i) {
        const char16_t unit = text[i].unicode();
        if (unit >= 0x20 && unit < 0x7F && unit != u'\\') {
            out.push_back(char(unit));
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", unsigned(unit));
            out += escape;
        }
    }
    if (text.size() > 300)
        out += "...(" + std::to_string(text.size()) + " units)";
    return out;
}

inline std::string shown(QByteArrayView bytes)
{
    std::string out;
    for (qsizetype i = 0; i < bytes.size() && i < 300; ++i) {
        char escape[6];
        std::snprintf(escape, sizeof escape, "%02X ", unsigned(static_cast<unsigned char>(bytes[i])));
        out += escape;
    }
    if (bytes.size() > 300)
        out += "...(" + std::to_string(bytes.size()) + " bytes)";
    return out;
}

// All the digits that tell one double from its neighbours.
inline std::string shownDouble(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

[[noreturn]] inline void fuzzFailure(const char *property, const std::string &detail)
{
    std::fprintf(stderr, "\nPROPERTY FAILED: %s\n  %s\n", property, detail.c_str());
    std::abort();
}

// Checks one property; detail is only built when the property fails.
#define FUZZ_CHECK(condition, detail)                                                                                  \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            fuzzFailure(#condition, (detail));                                                                         \
    } while (false)

// The characters that numbers are made of, and a few that stop or bend them,
// with the digits weighted so that most texts are numbers of some kind.
inline constexpr char NumberAlphabet[] = "01234567890123456789012345678901234567890123456789+-.eEdD \t\n\r,x";

// How the bytes after the first become a text; the first byte chooses.
enum class TextShape {
    Latin1, // each byte one character: easy for the fuzzer to aim at ASCII
    Utf16, // pairs of bytes as UTF-16 units, lone surrogates included
    Number, // each byte picks a character of NumberAlphabet
};

inline QString textFromBytes(TextShape shape, const std::uint8_t *data, std::size_t size)
{
    switch (shape) {
    case TextShape::Latin1:
        return QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    case TextShape::Utf16: {
        QString text;
        text.reserve(qsizetype(size / 2));
        for (std::size_t i = 0; i + 1 < size; i += 2)
            text.append(QChar(char16_t(data[i] | data[i + 1] << 8)));
        return text;
    }
    case TextShape::Number: {
        QString text;
        text.reserve(qsizetype(size));
        for (std::size_t i = 0; i < size; ++i)
            text.append(QLatin1Char(NumberAlphabet[data[i] % (sizeof NumberAlphabet - 1)]));
        return text;
    }
    }
    return {};
}

// Splits an input into the shape its first byte chooses and the text of the
// rest. An empty input is an empty Latin-1 text.
inline QString textFromInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return {};
    return textFromBytes(static_cast<TextShape>(data[0] % 3), data + 1, size - 1);
}
