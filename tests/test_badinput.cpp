// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Bad input from the world around the game: record files edited by hand,
// carried over from old machines or damaged, files that cannot be replaced,
// and a key robot hammering a whole race. Each case checks what the child sees
// and what stays on disk.
#include "gamewindow.h"
#include "recordstore.h"

#include <QDir>
#include <QProcess>
#include <QTest>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Resident memory of this process, in bytes.
[[maybe_unused]] qint64 residentBytes()
{
    QFile statm(u"/proc/self/statm"_s);
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toLongLong() * sysconf(_SC_PAGESIZE);
}

} // namespace

class BadInputTest : public QObject
{
    Q_OBJECT

private slots:
    void damagedRecordFilesAreReadByTheLeadingNumberRule_data()
    {
        QTest::addColumn<QByteArray>("score");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<int>("needed"); // right answers that beat it; -1 when none can
        QTest::newRow("binary garbage") << "\x8F\xFF\x01\x02zz"_ba << "\xFE\xFF\x00\x81"_ba << 1;
        QTest::newRow("NUL bytes") << QByteArray(16, '\0') << QByteArray(3, '\0') << 1;
        QTest::newRow("10 MiB of digits") << QByteArray(10 * 1024 * 1024, '9') << "Bea\r\n"_ba << -1;
        QTest::newRow("1e308") << "1e308\r\n"_ba << "Bea\r\n"_ba << -1;
        QTest::newRow("a negative record") << "-5\r\n"_ba << "Bea\r\n"_ba << 0;
        QTest::newRow("NaN") << "NaN\r\n"_ba << "Bea\r\n"_ba << 1;
        QTest::newRow("blanks and letters") << "  12abc"_ba << "Bea"_ba << 13;
        QTest::newRow("hexadecimal") << "0x10"_ba << "Bea"_ba << 1;
        QTest::newRow("Windows-1252 name") << "2\r\n"_ba << "Niccol\xF2\r\n"_ba << 3;
        QTest::newRow("emoji name") << "2\r\n"_ba << "Anna \xF0\x9F\x98\x80\r\n"_ba << 3;
        QTest::newRow("CR without LF") << "3\r"_ba << "Bea\r"_ba << 4;
        QTest::newRow("several lines") << "3\r\n99\r\n"_ba << "Bea\r\nUgo\r\n"_ba << 4;
    }
    void damagedRecordFilesAreReadByTheLeadingNumberRule()
    {
        QFETCH(QByteArray, score);
        QFETCH(QByteArray, name);
        QFETCH(int, needed);
        GameWindow game;
        game.records.writeScore(score);
        game.records.writeName(name);
        game.start();
        QVERIFY(!game.exit.status);

        // Shown as read, within the bound on what is read.
        const QString shown = game.caption("lblpunti");
        QCOMPARE(shown, RecordStore::Leggifiletxt(game.records.scorePath()));
        QVERIFY(shown.size() <= RecordStore::MaxReadBytes);
        QCOMPARE(game.caption("lblnome"), RecordStore::Leggifiletxt(game.records.namePath()));

        // One right answer short of the record does not beat it...
        const int played = needed < 0 ? 2 : needed;
        for (int i = 0; i < played; ++i)
            game.answerRight();
        game.exitButton()->click();
        QCOMPARE(game.exit.status, 0);
        if (needed < 0) {
            QCOMPARE(game.records.score().size(), score.size());
            QCOMPARE(game.records.name(), name);
            return;
        }
        // ...and reaching it replaces the pair cleanly.
        QCOMPARE(game.records.score(), QByteArray::number(played) + "\r\n");
        QCOMPARE(game.records.name(), "Anna\r\n"_ba);
        QCOMPARE(QDir(game.records.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }

    void oneAnswerLessKeepsTheRecord()
    {
        GameWindow game;
        game.records.writeScore("  12abc"_ba);
        game.records.writeName("Bea"_ba);
        game.start();
        for (int i = 0; i < 12; ++i)
            game.answerRight();
        game.exitButton()->click();
        QCOMPARE(game.records.score(), "  12abc"_ba);
        QCOMPARE(game.records.name(), "Bea"_ba);
    }

    void aRecordFileThatCannotBeReplacedKeepsTheOldPair()
    {
        if (geteuid() != 0)
            QSKIP("making a file immutable needs root; an ordinary user is stopped by file rights instead");
        GameWindow game;
        game.records.writeScore("2\r\n"_ba);
        game.records.writeName("Bea\r\n"_ba);
        game.start();
        if (QProcess::execute(u"chattr"_s, {u"+i"_s, game.records.namePath()}) != 0)
            QSKIP("this file system cannot make a file immutable");
        for (int i = 0; i < 3; ++i)
            game.answerRight();
        game.exitButton()->click();
        QProcess::execute(u"chattr"_s, {u"-i"_s, game.records.namePath()});

        QVERIFY2(game.endedWithErrorNaming(u"gomirlo100.txt"_s), qPrintable(game.errorsShown()));
        QCOMPARE(game.records.score(), "2\r\n"_ba);
        QCOMPARE(game.records.name(), "Bea\r\n"_ba);
        QCOMPARE(QDir(game.records.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }

    void aKeyRobotPlaysTenThousandAnswers()
    {
        GameWindow game;
        game.start();
        game.timer()->stop(); // a race of any length: the robot is faster than the clock
        qint64 settled = 0;
        for (int answer = 1; answer <= 10000; ++answer) {
            if (answer % 3)
                game.answer(QString::number(game.state().ExpectedAnswer.value()));
            else
                game.answer(u"7"_s); // never 20 minus a digit from 1 to 9
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // Enter on the button
            if (answer == 1000)
                settled = residentBytes();
        }
        const int wrong = 10000 / 3;
        QCOMPARE(game.caption("lblScore"), QString::number(10000 - wrong));
        QCOMPARE(game.caption("lblScore1"), QString::number(wrong));
        QCOMPARE(game.caption("lblScore2"), u"10000"_s);
        QCOMPARE(game.state().CorrectCount, Int16(10000 - wrong));
#ifndef __SANITIZE_ADDRESS__
        // Memory settles once the first questions have warmed the caches up:
        // the next 9000 answers may not add more than 4 MiB. (AddressSanitizer
        // holds freed memory back on purpose, so there this measures nothing.)
        const qint64 growth = residentBytes() - settled;
        QVERIFY2(growth < 4 * 1024 * 1024, qPrintable(QString::number(growth)));
#else
        Q_UNUSED(settled);
#endif
    }
};

QTEST_MAIN(BadInputTest)
#include "test_badinput.moc"
