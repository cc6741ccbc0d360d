// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <iconv.h>
#include <optional>

// A property that does not hold aborts, so libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                            \
    do {                                                                 \
        if (!(condition)) {                                              \
            std::fprintf(stderr, "\nPROPERTY FAILED: %s\n", #condition); \
            std::abort();                                                \
        }                                                                \
    } while (false)

// The bytes read by the C library's iconv, which is strict about UTF-8 (no
// overlong forms, surrogates or cut sequences): a reading independent of the
// game's own. Empty when iconv finds them invalid in that encoding.
inline std::optional<QString> iconvReading(const char *encoding, QByteArrayView bytes)
{
    const iconv_t converter = iconv_open("UTF-16LE", encoding);
    QByteArray out(bytes.size() * 4 + 4, Qt::Uninitialized);
    char *in = const_cast<char *>(bytes.data());
    char *to = out.data();
    std::size_t inLeft = std::size_t(bytes.size()), outLeft = std::size_t(out.size());
    const bool valid = iconv(converter, &in, &inLeft, &to, &outLeft) != std::size_t(-1);
    iconv_close(converter);
    if (!valid)
        return std::nullopt;
    return QString(reinterpret_cast<const QChar *>(out.constData()), (out.size() - qsizetype(outLeft)) / 2);
}
