// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What happens before the first question: the name, the greeting, the clock,
// and the stored record read from the record files.
#include "gamewindow.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void asksTheNameThenGreetsBeforeTheWindowAppears()
    {
        GameWindow game;
        bool windowVisible = true;
        bool clockRunning = true;
        game.dialogs.whileOpen = [&](const DialogCall &) {
            windowVisible = windowVisible && game.window().isVisible();
            clockRunning = clockRunning && game.timer()->isActive();
        };
        game.start();
        QCOMPARE(game.dialogs.calls.size(), 2);
        QCOMPARE(game.dialogs.calls[0].kind, DialogCall::AskText);
        QCOMPARE(game.dialogs.calls[0].text, u"Come ti chiami?"_s);
        QCOMPARE(game.dialogs.calls[0].title, u"Gomirlo"_s);
        QCOMPARE(game.dialogs.calls[1].kind, DialogCall::Inform);
        QCOMPARE(game.dialogs.calls[1].text, u" Anna vediamo se sei un vero campione  "_s);
        QCOMPARE(game.dialogs.calls[1].title, u"Gomirlo"_s);
        QVERIFY(!windowVisible);
        QVERIFY(!clockRunning);
    }

    void anEmptyNameIsKeptAsItIs()
    {
        GameWindow game{QString()}; // Cancel, or OK on an empty field
        game.start();
        QCOMPARE(game.dialogs.texts(DialogCall::Inform).value(0), u"  vediamo se sei un vero campione  "_s);
        QCOMPARE(game.caption("lblnome1"), QString());
        QCOMPARE(game.state().PlayerName, QString());
    }

    void theGameIsReadyToPlay()
    {
        GameWindow game(u" Ugo "_s);
        game.state().CorrectCount = 4; // left over from an earlier race
        game.state().WrongCount = 2;
        game.start();
        QCOMPARE(game.state().CorrectCount, Int16(0));
        QCOMPARE(game.state().WrongCount, Int16(0));
        QCOMPARE(game.state().ClockHours, Int16(0));
        QCOMPARE(game.state().ClockMinutes, Int16(5));
        QCOMPARE(game.state().ClockSeconds, 0.0f);
        QVERIFY(game.timer()->isActive());
        QCOMPARE(game.caption("lblconto"), u"00:05:00"_s);
        QCOMPARE(game.caption("lblnome1"), u" Ugo "_s); // neither trimmed nor checked
        QCOMPARE(game.state().WinDir, game.records.path() + u'/');
        QVERIFY(game.window().isMaximized());
    }

    void aFirstStartCreatesEmptyRecordFiles()
    {
        GameWindow game;
        QVERIFY(!QDir(game.records.path()).exists());
        game.start();
        QCOMPARE(game.records.score(), QByteArray());
        QCOMPARE(game.records.name(), QByteArray());
        QCOMPARE(game.caption("lblpunti"), QString());
        QCOMPARE(game.caption("lblnome"), QString());
    }

    void theStoredRecordIsShownWithItsLineEnds_data()
    {
        QTest::addColumn<QByteArray>("score");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("shownName");
        QTest::newRow("as the game writes it") << "12\r\n"_ba << "Anna\r\n"_ba << u"Anna\r\n"_s;
        QTest::newRow("UTF-8 name") << "7\r\n"_ba << "Niccol\xC3\xB2\r\n"_ba << u"Niccolò\r\n"_s;
        QTest::newRow("Windows-1252 name") << "7\r\n"_ba << "Niccol\xF2\r\n"_ba << u"Niccolò\r\n"_s;
        QTest::newRow("several lines, edited by hand") << "9\r\nten\r\n"_ba << "Bea\r\nCarlo\r\n"_ba
                                                        << u"Bea\r\nCarlo\r\n"_s;
    }
    void theStoredRecordIsShownWithItsLineEnds()
    {
        QFETCH(QByteArray, score);
        QFETCH(QByteArray, name);
        QFETCH(QString, shownName);
        GameWindow game;
        game.records.writeScore(score);
        game.records.writeName(name);
        game.start();
        QCOMPARE(game.caption("lblpunti"), QString::fromLatin1(score));
        QCOMPARE(game.caption("lblnome"), shownName);
        // Reading never changes the files.
        QCOMPARE(game.records.score(), score);
        QCOMPARE(game.records.name(), name);
    }

    void aWriteCutShortIsUndoneAtTheNextStart()
    {
        // The score had been replaced but the name had not, when the power went.
        GameWindow game;
        game.records.writeScore("15\r\n"_ba);
        game.records.writeName("Anna\r\n"_ba);
        writeAll(game.records.scorePath() + u".old"_s, "9\r\n"_ba);
        writeAll(game.records.namePath() + u".new"_s, "Ugo\r\n"_ba);
        game.start();
        QCOMPARE(game.caption("lblpunti"), u"9\r\n"_s);
        QCOMPARE(game.caption("lblnome"), u"Anna\r\n"_s);
        QCOMPARE(QDir(game.records.path()).entryList(QDir::Files).size(), 2);
    }

    void aRecordFolderThatCannotBeMadeEndsTheGame()
    {
        GameWindow game;
        QDir().mkpath(QFileInfo(game.records.path()).path());
        writeAll(game.records.path(), "not a folder"_ba);
        game.start();
        QVERIFY2(game.endedWithErrorNaming(game.records.path()), qPrintable(game.errorsShown()));
        QCOMPARE(game.exit.calls, 1);
        // The error came before any question or clock.
        QVERIFY(!game.timer()->isActive());
        QCOMPARE(game.caption("lblNum1"), QString());
    }

    void aRecordFileThatCannotBeReadEndsTheGame()
    {
        GameWindow game;
        QDir().mkpath(game.records.namePath());
        game.start();
        QVERIFY2(game.endedWithErrorNaming(u"gomirlo100.txt"_s), qPrintable(game.errorsShown()));
    }
};

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
