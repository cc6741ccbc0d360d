// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's rules without a window: reading numbers out of texts, the
// caption formats, checked 16-bit counters, the clock, judging and the record
// comparison, and the random generator.
#include "countdown.h"
#include "errorfrom.h"
#include "int16.h"
#include "numbers.h"
#include "randomgenerator.h"
#include "runtimeerror.h"
#include "scoring.h"

#include <QElapsedTimer>
#include <QTest>

#include <limits>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr double Largest = std::numeric_limits<double>::max();


std::vector<float> firstValues(RandomGenerator &generator)
{
    std::vector<float> values(5);
    for (float &value : values)
        value = generator.next();
    return values;
}

} // namespace

class TestValues : public QObject
{
    Q_OBJECT

private slots:
    void leadingNumberReadsAsFarAsANumberGoes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        const QString million0(1'000'000, u'0');

        QTest::newRow("leading zeros") << u"013"_s << 13.0;
        QTest::newRow("empty") << QString() << 0.0;
        QTest::newRow("blanks, tab and LF anywhere") << u" 1 2\t3\n4"_s << 1234.0;
        QTest::newRow("blanks around sign and point") << u"- 1 . 5"_s << -1.5;
        QTest::newRow("CR stops") << u"12\r\n"_s << 12.0;
        QTest::newRow("CR first") << u"\r12"_s << 0.0;
        QTest::newRow("minus") << u"-5"_s << -5.0;
        QTest::newRow("second sign stops") << u"--5"_s << 0.0;
        QTest::newRow("sign after digits stops") << u"1-2"_s << 1.0;
        QTest::newRow("fraction") << u"12.75"_s << 12.75;
        QTest::newRow("second point stops") << u"1.2.3"_s << 1.2;
        QTest::newRow("exponent") << u"1E3"_s << 1000.0;
        QTest::newRow("negative exponent") << u"25e-2"_s << 0.25;
        QTest::newRow("1e308") << u"1e308"_s << 1e308;
        QTest::newRow("exponent without digits") << u"1e"_s << 1.0;
        QTest::newRow("exponent sign without digits") << u"1e+"_s << 1.0;
        QTest::newRow("NaN") << u"NaN"_s << 0.0;
        QTest::newRow("hex") << u"0x10"_s << 0.0;
        QTest::newRow("letters after") << u"  12abc"_s << 12.0;
        QTest::newRow("Arabic-Indic digits") << u"\u0661\u0663"_s << 0.0;
        QTest::newRow("too large") << u"1e99999"_s << Largest;
        QTest::newRow("too large, negative") << u"-1.8e308"_s << -Largest;
        QTest::newRow("too small") << u"1e-99999"_s << 0.0;
        QTest::newRow("exponent of 25 digits") << "1e" + QString(25, u'9') << Largest;
        QTest::newRow("long fraction") << "0." + QString(5000, u'3') << 1.0 / 3.0;
        QTest::newRow("zeros after the point") << "0." + QString(1000, u'0') + "5e1003" << 500.0;
        QTest::newRow("million digits") << QString(1'000'000, u'9') << Largest;
        // Places beyond the digits that a double can hold still count.
        QTest::newRow("million digits, big exponent down") << "1" + million0 + "e-999990" << 1e10;
        QTest::newRow("million digits, small exponent down") << "1" + million0 + "e-99999" << Largest;
        QTest::newRow("million zeros after point, small exponent up") << "0." + million0 + "1e99999" << 0.0;
        QTest::newRow("million zeros after point, big exponent up") << "0." + million0 + "1e1000005" << 1e4;
    }
    void leadingNumberReadsAsFarAsANumberGoes()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(leadingNumber(text), value);
    }

    void leadingNumberOfAMillionDigitsIsQuick()
    {
        // A guard against a slow reading of a pasted answer, not a benchmark.
        const QString text = "1." + QString(1'000'000, u'7') + "e5";
        QElapsedTimer clock;
        clock.start();
        const double value = leadingNumber(text);
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed()) + " ms"));
        QCOMPARE(value, 177777.77777777778);
    }

    void answerIsRoundedHalvesToEvenWithin16Bits_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<int>>("value");
        const std::optional<int> none;

        QTest::newRow("12.5 to 12") << u"12.5"_s << std::optional(12);
        QTest::newRow("13.5 to 14") << u"13.5"_s << std::optional(14);
        QTest::newRow("-0.5 to 0") << u"-0.5"_s << std::optional(0);
        QTest::newRow("largest") << u"32767"_s << std::optional(32767);
        QTest::newRow("past largest") << u"32768"_s << none;
        QTest::newRow("smallest") << u"-32768"_s << std::optional(-32768);
        QTest::newRow("past smallest") << u"-32769"_s << none;
        QTest::newRow("down to largest") << u"32767.4"_s << std::optional(32767);
        QTest::newRow("up past largest") << u"32767.5"_s << none;
        QTest::newRow("to even smallest") << u"-32768.5"_s << std::optional(-32768);
        QTest::newRow("40000") << u"40000"_s << none;
        QTest::newRow("13 plus 65536") << u"65549"_s << none;
        QTest::newRow("abc") << u"abc"_s << std::optional(0);
    }
    void answerIsRoundedHalvesToEvenWithin16Bits()
    {
        QFETCH(QString, text);
        QFETCH(std::optional<int>, value);
        const auto answer = answerValue(text);
        QCOMPARE(answer ? std::optional<int>(*answer) : std::nullopt, value);
    }

    void captionFormats()
    {
        // Wider than the "####0" pattern: written whole, no separators.
        QCOMPARE(formatWhole(1234567), u"1234567"_s);
        QCOMPARE(formatWhole(0), u"0"_s);
        QCOMPARE(formatWhole(-3), u"-3"_s);
        QCOMPARE(formatTwoDigits(0), u"00"_s);
        QCOMPARE(formatTwoDigits(5), u"05"_s);
        QCOMPARE(formatTwoDigits(59), u"59"_s);
        QCOMPARE(formatTwoDigits(100), u"100"_s);
        QCOMPARE(formatTwoDigits(-5), u"-05"_s);
        // The clock's format rounds halves away from zero, unlike the answer.
        QCOMPARE(formatTwoDigits(4.4), u"04"_s);
        QCOMPARE(formatTwoDigits(4.5), u"05"_s);
        QCOMPARE(formatTwoDigits(5.5), u"06"_s);
    }

    void int16ArithmeticThrowsOnOverflow_data()
    {
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("right");
        QTest::addColumn<bool>("subtract");
        QTest::addColumn<std::optional<int>>("result");
        const std::optional<int> overflow; // no result: the step throws

        QTest::newRow("up to largest") << 32766 << 1 << false << std::optional(32767);
        QTest::newRow("past largest") << 32767 << 1 << false << overflow;
        QTest::newRow("down to smallest") << -32767 << 1 << true << std::optional(-32768);
        QTest::newRow("past smallest") << -32768 << 1 << true << overflow;
        QTest::newRow("adding -1 to smallest") << -32768 << -1 << false << overflow;
        QTest::newRow("0 minus smallest") << 0 << -32768 << true << overflow;
        QTest::newRow("largest plus smallest") << 32767 << -32768 << false << std::optional(-1);
        QTest::newRow("smallest minus largest") << -32768 << 32767 << true << overflow;
    }
    void int16ArithmeticThrowsOnOverflow()
    {
        QFETCH(int, left);
        QFETCH(int, right);
        QFETCH(bool, subtract);
        QFETCH(std::optional<int>, result);

        Int16 counter = Int16::checked(left);
        const auto error = errorFrom([&] { subtract ? counter -= Int16::checked(right) : counter += Int16::checked(right); });
        QCOMPARE(error ? int(error->code()) : 0, result ? 0 : int(RuntimeError::Overflow));
        // A failed step leaves the counter as it was.
        QCOMPARE(int(counter.value()), result.value_or(left));
        QCOMPARE(bool(errorFrom([&] { Int16::checked(subtract ? left - right : left + right); })), !result);
    }

    void runtimeErrorMessageNamesErrorAndFile()
    {
        const QString overflow = RuntimeError(RuntimeError::Overflow).message();
        QVERIFY2(overflow.contains(u"6") && overflow.contains(u"Overflow") && !overflow.contains(u"File"), qPrintable(overflow));

        // The record paths carry a doubled separator; the user sees the plain path.
        const RuntimeError access(RuntimeError::FileAccess, u"disco pieno"_s, u"/home/anna/gomirlo//gomirlo10.txt"_s);
        const QString message = access.message();
        QVERIFY2(message.contains(u"75") && message.contains(u"/home/anna/gomirlo/gomirlo10.txt") && message.contains(u"disco pieno"),
                 qPrintable(message));
    }




    void scoreMustBeatTheRecord_data()
    {
        QTest::addColumn<QString>("record");
        QTest::addColumn<QString>("score");
        QTest::addColumn<bool>("beats");
        QTest::newRow("equal") << u"12"_s << u"12"_s << false;
        QTest::newRow("one more") << u"12"_s << u"13"_s << true;
        QTest::newRow("one less") << u"12"_s << u"11"_s << false;
        QTest::newRow("empty record, 1") << QString() << u"1"_s << true;
        QTest::newRow("empty record, 0") << QString() << u"0"_s << false;
        QTest::newRow("record line, equal") << u"12\r\n"_s << u"12"_s << false;
        QTest::newRow("record line, one more") << u"12\r\n"_s << u"13"_s << true;
        QTest::newRow("as numbers, not texts") << u"9\r\n"_s << u"10"_s << true;
        QTest::newRow("damaged record") << u"  12abc"_s << u"13"_s << true;
        QTest::newRow("huge record") << u"1e308"_s << u"32767"_s << false;
    }
    void scoreMustBeatTheRecord()
    {
        QFETCH(QString, record);
        QFETCH(QString, score);
        QFETCH(bool, beats);
        QCOMPARE(beatsRecord(record, score), beats);
    }

    void scoreThatIsNotANumberIsATypeMismatch()
    {
        for (const QString &score : {u"x"_s, u"12abc"_s}) {
            const auto error = errorFrom([&] { beatsRecord(u"12", score); });
            QVERIFY2(error && error->code() == RuntimeError::TypeMismatch, qPrintable(score));
        }
    }

    void generatorCoversZeroToOneOverItsPeriod()
    {
        // Over all 2^24 states the values reach 0 and come as close to 1 as a
        // float allows, without reaching it.
        RandomGenerator generator;
        float lowest = 1, highest = 0;
        for (int i = 0; i < (1 << 24); ++i) {
            const float r = generator.next();
            lowest = std::min(lowest, r);
            highest = std::max(highest, r);
        }
        QCOMPARE(lowest, 0.0f);
        QVERIFY(highest < 1.0f && highest > 0.9999f);
    }

    void drawsBelowNReachEveryValueEvenly_data()
    {
        QTest::addColumn<int>("n");
        QTest::newRow("shade, below 15") << 15;
        QTest::newRow("shown number, below 10") << 10;
    }
    void drawsBelowNReachEveryValueEvenly()
    {
        QFETCH(int, n);
        constexpr int Draws = 150'000;
        RandomGenerator generator;
        generator.reseed(36000.25);
        std::vector<int> counts(n);
        for (int i = 0; i < Draws; ++i) {
            const int value = generator.drawBelow(n);
            QVERIFY2(value >= 0 && value < n, qPrintable(QString::number(value)));
            ++counts[value];
        }
        for (int value = 0; value < n; ++value)
            QVERIFY2(std::abs(counts[value] * n - Draws) < Draws / 10, qPrintable(u"%1 drawn %2 times"_s.arg(value).arg(counts[value])));
    }

    void everyRunStartsWithTheSameSequence()
    {
        RandomGenerator first, second;
        QCOMPARE(firstValues(first), firstValues(second));
    }

    void reseedingAtAnotherTimeGivesAnotherSequence_data()
    {
        QTest::addColumn<double>("time");
        QTest::addColumn<double>("otherTime");
        QTest::newRow("midnight and a second later") << 0.0 << 1.0;
        QTest::newRow("one millisecond apart") << 36000.0 << 36000.001;
        QTest::newRow("morning and afternoon") << 30600.5 << 52200.5;
        QTest::newRow("just before midnight") << 86399.999 << 86399.998;
    }
    void reseedingAtAnotherTimeGivesAnotherSequence()
    {
        QFETCH(double, time);
        QFETCH(double, otherTime);
        RandomGenerator first, second, unseeded;
        first.reseed(time);
        second.reseed(otherTime);
        const auto values = firstValues(first);
        QVERIFY(values != firstValues(second));
        QVERIFY(values != firstValues(unseeded));
    }
};

QTEST_GUILESS_MAIN(TestValues)
#include "test_values.moc"
