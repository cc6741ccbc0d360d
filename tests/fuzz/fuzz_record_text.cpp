// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The bytes of a record file and the text they stand for: any bytes at all,
// and lines as the game writes them, whole or cut short by a bounded read.
#include "fuzzsupport.h"
#include "numbers.h"
#include "recordbytes.h"
#include "recordtext.h"
#include "scoring.h"

namespace {

const QByteArrayView ByteOrderMark("\xEF\xBB\xBF");

// Any bytes, as a damaged, foreign or hand-edited file may hold.
void checkAnyBytes(QByteArrayView bytes, long long score)
{
    const QByteArrayView content = withoutByteOrderMark(bytes);
    const QString text = decodeRecordText(bytes);
    const auto detail = [&] { return "bytes " + shown(bytes) + " read as " + shown(text); };

    // Never more characters than bytes: each byte is one character at most.
    FUZZ_CHECK(text.size() <= bytes.size(), detail());
    FUZZ_CHECK(text.isValidUtf16(), detail());
    if (isUtf8(content))
        FUZZ_CHECK(text.toUtf8() == content, detail());
    else
        FUZZ_CHECK(text == windows1252(content), detail());

    // The same bytes as the first part of a longer file, cut by the read.
    const QString cut = decodeRecordText(bytes, true);
    const auto cutDetail = [&] { return "bytes " + shown(bytes) + " cut short read as " + shown(cut); };
    FUZZ_CHECK(cut.size() <= bytes.size(), cutDetail());
    FUZZ_CHECK(cut.isValidUtf16(), cutDetail());
    // A read that happens to end on a whole character loses nothing.
    if (isUtf8(content))
        FUZZ_CHECK(cut == text, cutDetail());
    // A UTF-8 file cut inside its last character keeps everything before it.
    for (qsizetype tail = 1; tail <= 3 && tail <= content.size(); ++tail) {
        const QByteArrayView whole = content.first(content.size() - tail);
        if (isCutUtf8Sequence(content.last(tail)) && isUtf8(whole))
            FUZZ_CHECK(cut.toUtf8() == whole, cutDetail());
    }
    // Whatever the bytes, the reading is Windows-1252 of them all or UTF-8 of
    // all but a cut-off last character.
    const QByteArray cutUtf8 = cut.toUtf8();
    FUZZ_CHECK(cut == windows1252(content)
                   || (isUtf8(cutUtf8) && content.startsWith(cutUtf8) && content.size() - cutUtf8.size() <= 3),
               cutDetail());

    // Any record can be held against any score the game shows.
    const QString shownScore = formatWhole(score);
    FUZZ_CHECK(beatsRecord(text, shownScore) == (double(score) > leadingNumber(text)),
               detail() + " against " + shown(shownScore));
}

// A text with every lone surrogate replaced, as a name typed into the game
// can never hold one.
QString wellFormed(QString text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

// The characters of line whose UTF-8 fits into the first length bytes.
QString wholeCharactersIn(const QString &line, qsizetype length)
{
    qsizetype used = 0;
    qsizetype i = 0;
    while (i < line.size()) {
        const bool pair = line[i].isHighSurrogate();
        const char32_t code = pair ? QChar::surrogateToUcs4(line[i], line[i + 1]) : line[i].unicode();
        const qsizetype bytes = code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
        if (used + bytes > length)
            break;
        used += bytes;
        i += pair ? 2 : 1;
    }
    return line.first(i);
}

// A line as the game writes it, read back whole, behind a byte-order mark, and
// cut off after any number of bytes.
void checkWrittenLine(const QString &written, qsizetype cutAt)
{
    QString name = written;
    // A leading U+FEFF reads as a byte-order mark, which the reader drops.
    while (name.startsWith(QChar(QChar::ByteOrderMark)))
        name.remove(0, 1);
    const QByteArray line = encodeRecordLine(name);
    const QString expected = name + QStringLiteral("\r\n");
    const auto detail = [&] { return "text " + shown(name) + " written as " + shown(line); };

    FUZZ_CHECK(line.endsWith("\r\n"), detail());
    FUZZ_CHECK(isUtf8(line), detail());
    FUZZ_CHECK(decodeRecordText(line.chopped(2)) == name, detail());
    FUZZ_CHECK(decodeRecordText(line) == expected, detail());
    FUZZ_CHECK(decodeRecordText(ByteOrderMark.toByteArray() + line) == expected, detail() + " behind a byte-order mark");

    const qsizetype length = cutAt % (line.size() + 1);
    const QString cut = decodeRecordText(QByteArrayView(line).first(length), true);
    FUZZ_CHECK(cut == wholeCharactersIn(expected, length),
               detail() + ", its first " + std::to_string(length) + " bytes read as " + shown(cut));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // The first byte chooses the kind of input and a cut, the next two a score.
    if (size < 3)
        return 0;
    const std::uint8_t choice = data[0];
    const long long score = (data[1] | data[2] << 8) - 1000;
    const QByteArrayView bytes(data + 3, qsizetype(size - 3));
    switch (choice % 3) {
    case 0:
        checkAnyBytes(bytes, score);
        break;
    case 1:
        checkWrittenLine(QString::fromUtf8(bytes), choice / 3 + bytes.size() / 2);
        break;
    case 2:
        checkWrittenLine(wellFormed(textFromBytes(TextShape::Utf16, data + 3, size - 3)), choice / 3 + bytes.size());
        break;
    }
    return 0;
}
