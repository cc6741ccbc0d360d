// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's rules without a window: reading numbers out of texts, the
// clock's number format, the 16-bit counters, the random generator and the
// bytes of a record file. The window tests cover what a child can reach; these
// cover what only pasted text, damaged files or a long run can reach.
#include "countdown.h"
#include "int16.h"
#include "numbers.h"
#include "randomgenerator.h"
#include "recordtext.h"
#include "runtimeerror.h"

#include <QTest>

#include <limits>
#include <optional>

using namespace Qt::StringLiterals;

class RulesTest : public QObject
{
    Q_OBJECT

private slots:
    void readsTheLeadingNumberAndTheAnswer_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        // The 16-bit answer it is judged as; none when it does not fit.
        QTest::addColumn<std::optional<int>>("answer");
        const std::optional<int> none;
        const double largest = std::numeric_limits<double>::max();
        const QString million0(1'000'000, u'0');

        QTest::newRow("leading zeros") << u"013"_s << 13.0 << std::optional(13);
        QTest::newRow("blanks, tab and LF anywhere") << u" 1 2\t3\n4"_s << 1234.0 << std::optional(1234);
        QTest::newRow("record line: CR stops") << u"12\r\n"_s << 12.0 << std::optional(12);
        QTest::newRow("sign after digits stops") << u"1-2"_s << 1.0 << std::optional(1);
        QTest::newRow("fraction") << u"12.75"_s << 12.75 << std::optional(13);
        QTest::newRow("half to even, down") << u"12.5"_s << 12.5 << std::optional(12);
        QTest::newRow("half to even, up") << u"- 13 . 5"_s << -13.5 << std::optional(-14);
        QTest::newRow("exponent") << u"1E3"_s << 1000.0 << std::optional(1000);
        QTest::newRow("old exponent letter") << u"2d1"_s << 20.0 << std::optional(20);
        QTest::newRow("negative exponent") << u"25e-2"_s << 0.25 << std::optional(0);
        QTest::newRow("exponent without digits") << u"1e+"_s << 1.0 << std::optional(1);
        QTest::newRow("largest") << u"32767.4"_s << 32767.4 << std::optional(32767);
        QTest::newRow("past largest") << u"32767.5"_s << 32767.5 << none;
        QTest::newRow("smallest, half to even") << u"-32768.5"_s << -32768.5 << std::optional(-32768);
        QTest::newRow("past smallest") << u"-32769"_s << -32769.0 << none;
        QTest::newRow("too large") << u"-1e99999"_s << -largest << none;
        QTest::newRow("too small") << u"1e-99999"_s << 0.0 << std::optional(0);
        // Places beyond the digits that a double can hold still count...
        QTest::newRow("million digits, exponent down") << "1" + million0 + "e-999990" << 1e10 << none;
        QTest::newRow("million zeros after the point") << "0." + million0 + "1e1000005" << 1e4 << std::optional(10000);
        // ...and so does a digit far out that breaks a tie between two doubles.
        QTest::newRow("tie broken past 800 digits")
            << "9007199254740993" + QString(784, u'0') + "1e-785" << 9007199254740994.0 << none;
    }
    void readsTheLeadingNumberAndTheAnswer()
    {
        QFETCH(QString, text);
        QFETCH(double, number);
        QFETCH(std::optional<int>, answer);
        // To the last digit: QCOMPARE would take two neighbouring doubles as equal.
        QCOMPARE(QString::number(leadingNumber(text), 'g', 17), QString::number(number, 'g', 17));
        const auto value = answerValue(text);
        QCOMPARE(value ? std::optional<int>(*value) : std::nullopt, answer);
    }

    void writesTheClockWithTwoDigits()
    {
        // Rounded halves away from zero, unlike the answer; wider numbers whole.
        const QList<std::pair<double, QString>> cases{{0, u"00"_s}, {5, u"05"_s}, {4.5, u"05"_s}, {5.5, u"06"_s}, {100, u"100"_s}, {-5, u"-05"_s}};
        for (const auto &[value, text] : cases)
            QCOMPARE(formatTwoDigits(value), text);
        QCOMPARE(formatWhole(1234567), u"1234567"_s); // no separators
        // No game starts with hours on the clock, but the step borrows from them too.
        Int16 hours = 1, minutes = 0;
        float seconds = 0;
        countdownStep(hours, minutes, seconds);
        QCOMPARE(countdownText(hours, minutes, seconds), u"00:59:59"_s);
    }

    void countersStopAtTheEdgesOf16Bits()
    {
        QVERIFY_THROWS_NO_EXCEPTION(Int16(32766) + Int16(1));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, Int16(32767) + Int16(1));
        QVERIFY_THROWS_NO_EXCEPTION(Int16(-32767) - Int16(1));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, Int16(-32768) - Int16(1));
        QVERIFY(RuntimeError(RuntimeError::Overflow).message().contains(u"Overflow"_s));
    }

    void everyRunStartsTheSameUntilReseeded()
    {
        // So the first question of every run has the same tint.
        RandomGenerator first, second, reseeded;
        reseeded.reseed(36000.001);
        const float value = first.next();
        QCOMPARE(second.next(), value);
        QVERIFY(reseeded.next() != value);
    }

    void readsRecordBytesAsUtf8OrWindows1252_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("cutByTheRead");
        QTest::addColumn<QString>("text");
        QTest::newRow("as written") << "Niccol\xC3\xB2\r\n"_ba << false << u"Niccolò\r\n"_s;
        QTest::newRow("empty name") << "\r\n"_ba << false << u"\r\n"_s;
        QTest::newRow("Windows-1252 name") << "Niccol\xF2\r\n"_ba << false << u"Niccolò\r\n"_s;
        QTest::newRow("Windows-1252 euro, Y diaeresis") << "\x80\x9F"_ba << false << u"€Ÿ"_s;
        QTest::newRow("byte-order mark") << "\xEF\xBB\xBF" "12\r\n"_ba << false << u"12\r\n"_s;
        QTest::newRow("byte-order mark, Windows-1252") << "\xEF\xBB\xBF" "Niccol\xF2"_ba << false << u"Niccolò"_s;
        QTest::newRow("2-byte char cut by the read") << "Niccol\xC3"_ba << true << u"Niccol"_s;
        QTest::newRow("3-byte char cut by the read") << "caff\xC3\xA8 \xE2\x82"_ba << true << u"caffè "_s;
        QTest::newRow("4-byte char cut by the read") << "ab\xF0\x9F\x98"_ba << true << u"ab"_s;
        QTest::newRow("whole 4-byte char at the read's end") << "a\xF0\x9F\x98\x80"_ba << true << u"a😀"_s;
        QTest::newRow("whole 3-byte char, highest lead") << "a\xEF\xBC\x81"_ba << true << u"a\uFF01"_s;
        QTest::newRow("whole 2-byte char, highest lead") << "a\xDF\xBF"_ba << true << u"a\u07FF"_s;
        QTest::newRow("only a cut char") << "\xC3"_ba << true << QString();
        QTest::newRow("only a stray continuation byte") << "\x80"_ba << true << u"€"_s;
        QTest::newRow("cut char at the file's end") << "Niccol\xC3"_ba << false << u"NiccolÃ"_s;
        QTest::newRow("invalid inside, cut at the end") << "\xF2xx\xC3"_ba << true << u"òxxÃ"_s;
    }
    void readsRecordBytesAsUtf8OrWindows1252()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, cutByTheRead);
        QFETCH(QString, text);
        QCOMPARE(decodeRecordText(bytes, cutByTheRead), text);
        // What the game writes, it reads back as written.
        if (!cutByTheRead && text.endsWith(u"\r\n"_s))
            QCOMPARE(decodeRecordText(encodeRecordLine(text.chopped(2))), text);
    }
};

QTEST_GUILESS_MAIN(RulesTest)
#include "test_rules.moc"
