// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The bytes of a record file and the text they stand for: any bytes, as a
// damaged, foreign or hand-edited file may hold, whole or cut short by the
// bounded read; and names as the game writes them, read back.
#include "fuzzcheck.h"
#include "recordtext.h"

namespace {

// The game reads the five codes Windows-1252 leaves undefined as the C1
// controls of the same numbers.
QString windows1252(QByteArrayView bytes)
{
    static const QString table = [] {
        QString characters;
        for (int code = 0; code < 256; ++code) {
            const char byte = char(code);
            characters += iconvReading("WINDOWS-1252", QByteArrayView(&byte, 1)).value_or(QChar(code));
        }
        return characters;
    }();
    QString text;
    for (const char byte : bytes)
        text += table[uchar(byte)];
    return text;
}

// The reading of bytes whose end a read cut off: the longest start that is
// whole UTF-8 once at most three bytes of a cut character are dropped.
std::optional<QString> utf8WithoutCutEnd(QByteArrayView bytes)
{
    for (qsizetype dropped = 0; dropped <= 3 && dropped <= bytes.size(); ++dropped) {
        if (const auto text = iconvReading("UTF-8", bytes.chopped(dropped)))
            return text;
    }
    return std::nullopt;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // The first byte chooses between any bytes and a written name, and where
    // the read cuts the name's line.
    if (size < 1)
        return 0;
    const QByteArrayView bytes(data + 1, qsizetype(size - 1));
    if (data[0] % 2 == 0) {
        // UTF-8 when the bytes are UTF-8 (one leading byte-order mark, as some
        // editors write, is dropped), otherwise Windows-1252, byte for byte.
        const QByteArrayView content = bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes;
        const QString text = decodeRecordText(bytes);
        FUZZ_CHECK(text == iconvReading("UTF-8", content).value_or(windows1252(content)));
        // Cut short, only a character cut at the very end may be lost.
        const QString cut = decodeRecordText(bytes, true);
        FUZZ_CHECK(cut == text || cut == utf8WithoutCutEnd(content));
        FUZZ_CHECK(!iconvReading("UTF-8", content) || cut == text);
        return 0;
    }
    // A name as typed (no lone surrogates; a leading U+FEFF would read as a
    // byte-order mark) written as one line, read back whole, behind a
    // byte-order mark, and cut after any byte.
    QString name = QString::fromUtf8(bytes);
    while (name.startsWith(QChar::ByteOrderMark))
        name.remove(0, 1);
    const QByteArray line = encodeRecordLine(name);
    FUZZ_CHECK(line.endsWith("\r\n"));
    FUZZ_CHECK(decodeRecordText(line) == name + QStringLiteral("\r\n"));
    FUZZ_CHECK(decodeRecordText("\xEF\xBB\xBF" + line) == name + QStringLiteral("\r\n"));
    const QByteArrayView cutLine = QByteArrayView(line).first(data[0] / 2 % (line.size() + 1));
    FUZZ_CHECK(decodeRecordText(cutLine, true) == utf8WithoutCutEnd(cutLine));
    return 0;
}
