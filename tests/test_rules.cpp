// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's rules without a window: the clock's number format and step, the
// 16-bit counters, the random generator and the bytes of a record file. The
// window tests cover what a child can reach; these cover what only pasted
// text, damaged files or a long run can reach, with the fuzz targets' seeds,
// which every build replays (the numbers read out of texts are theirs alone).
#include "countdown.h"
#include "int16.h"
#include "numbers.h"
#include "randomgenerator.h"
#include "recordtext.h"
#include "runtimeerror.h"

#include <QTest>

using namespace Qt::StringLiterals;

class RulesTest : public QObject
{
    Q_OBJECT

private slots:
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

    // A read bounded in length may cut a character off at the end; whole
    // files, read to their end, are among the fuzz target's seeds.
    void dropsACharacterCutOffByTheBoundedRead_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("2-byte char cut") << "Niccol\xC3"_ba << u"Niccol"_s;
        QTest::newRow("3-byte char cut") << "caff\xC3\xA8 \xE2\x82"_ba << u"caffè "_s;
        QTest::newRow("4-byte char cut") << "ab\xF0\x9F\x98"_ba << u"ab"_s;
        QTest::newRow("whole 4-byte char at the end") << "a\xF0\x9F\x98\x80"_ba << u"a😀"_s;
        QTest::newRow("whole 3-byte char, highest lead") << "a\xEF\xBC\x81"_ba << u"a\uFF01"_s;
        QTest::newRow("whole 2-byte char, highest lead") << "a\xDF\xBF"_ba << u"a\u07FF"_s;
        QTest::newRow("only a cut char") << "\xC3"_ba << QString();
        QTest::newRow("only a stray continuation byte") << "\x80"_ba << u"€"_s;
        QTest::newRow("invalid inside, cut at the end") << "\xF2xx\xC3"_ba << u"òxxÃ"_s;
    }
    void dropsACharacterCutOffByTheBoundedRead()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(decodeRecordText(bytes, true), text);
    }
};

QTEST_GUILESS_MAIN(RulesTest)
#include "test_rules.moc"
