// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The end of a game: the record check, the record files, the messages, and
// nothing at all after the end.
#include "gamewindow.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

class GameEndTest : public QObject
{
    Q_OBJECT

private:
    // A game with the record 12 held by Bea, and the given score so far.
    static std::unique_ptr<GameWindow> gameWithScore(int score, const QByteArray &record = "12\r\n"_ba)
    {
        auto game = std::make_unique<GameWindow>();
        game->records.writeScore(record);
        game->records.writeName("Bea\r\n"_ba);
        game->start();
        for (int i = 0; i < score; ++i)
            game->answerRight();
        game->answerWrong(); // a wrong answer never counts
        return game;
    }

    static void timeOut(GameWindow &game)
    {
        game.timer()->stop();
        for (int tick = 0; tick <= 300; ++tick)
            game.tick();
    }

private slots:
    void anEqualScoreDoesNotBeatTheRecord()
    {
        auto game = gameWithScore(12);
        game->exitButton()->click();
        QCOMPARE(game->exit.status, 0);
        QCOMPARE(game->dialogs.calls.size(), 2); // name and greeting only
        QCOMPARE(game->records.score(), "12\r\n"_ba);
        QCOMPARE(game->records.name(), "Bea\r\n"_ba);
    }

    void aBetterScoreIsSavedThenAnnounced()
    {
        auto game = gameWithScore(13);
        QByteArray scoreWhileShown, nameWhileShown;
        game->dialogs.whileOpen = [&](const DialogCall &) {
            scoreWhileShown = game->records.score();
            nameWhileShown = game->records.name();
        };
        game->exitButton()->click();
        QCOMPARE(game->dialogs.calls.size(), 3);
        QCOMPARE(game->dialogs.calls.last().kind, DialogCall::Inform);
        QCOMPARE(game->dialogs.calls.last().text, u"Ok! Ho registrato il tuo record, C A M P I O N E"_s);
        QCOMPARE(game->dialogs.calls.last().title, u"Gomirlo"_s);
        // Written before the message appears.
        QCOMPARE(scoreWhileShown, "13\r\n"_ba);
        QCOMPARE(nameWhileShown, "Anna\r\n"_ba);
        QCOMPARE(game->exit.status, 0);
        QCOMPARE(game->exit.calls, 1);
        QCOMPARE(QDir(game->records.path()).entryList(QDir::Files).size(), 2); // nothing left over
    }

    void anEmptyRecordIsBeatenByOneNotByZero()
    {
        auto none = gameWithScore(0, QByteArray());
        none->exitButton()->click();
        QCOMPARE(none->records.score(), QByteArray());
        QCOMPARE(none->dialogs.calls.size(), 2);

        auto one = gameWithScore(1, QByteArray());
        one->exitButton()->click();
        QCOMPARE(one->records.score(), "1\r\n"_ba);
    }

    void anUnreadableRecordCountsAsZero()
    {
        auto game = gameWithScore(1, "abc\r\n"_ba);
        game->exitButton()->click();
        QCOMPARE(game->records.score(), "1\r\n"_ba);
    }

    void anEmptyNameIsSavedAsALoneLineEnd()
    {
        GameWindow game{QString()};
        game.start();
        game.answerRight();
        game.exitButton()->click();
        QCOMPARE(game.records.score(), "1\r\n"_ba);
        QCOMPARE(game.records.name(), "\r\n"_ba);
    }

    void theTimeOutSaysGoodbyeFirst_data()
    {
        QTest::addColumn<int>("score");
        QTest::addColumn<QStringList>("messages");
        const QString greeting = u" Anna vediamo se sei un vero campione  "_s;
        const QString goodbye = u"Ciao, alla prossima sfida. "_s;
        QTest::newRow("record kept") << 3 << QStringList{greeting, goodbye};
        QTest::newRow("record beaten") << 13
                                       << QStringList{greeting, goodbye,
                                                      u"Ok! Ho registrato il tuo record, C A M P I O N E"_s};
    }
    void theTimeOutSaysGoodbyeFirst()
    {
        QFETCH(int, score);
        QFETCH(QStringList, messages);
        auto game = gameWithScore(score);
        QByteArray scoreDuringGoodbye;
        game->dialogs.whileOpen = [&](const DialogCall &call) {
            if (call.text.startsWith(u"Ciao"_s))
                scoreDuringGoodbye = game->records.score();
        };
        timeOut(*game);
        QCOMPARE(game->dialogs.texts(DialogCall::Inform), messages);
        QCOMPARE(scoreDuringGoodbye, "12\r\n"_ba); // the comparison comes after it
        QCOMPARE(game->exit.status, 0);
        QCOMPARE(game->records.score(), score > 12 ? "13\r\n"_ba : "12\r\n"_ba);
    }

    void aFailedWriteIsReportedAndKeepsTheOldRecord_data()
    {
        QTest::addColumn<bool>("blockFolder");
        QTest::newRow("record folder replaced by a file") << true;
        QTest::newRow("name file replaced by a folder") << false;
    }
    void aFailedWriteIsReportedAndKeepsTheOldRecord()
    {
        QFETCH(bool, blockFolder);
        auto game = gameWithScore(13);
        const QString folder = game->records.path();
        const QString aside = folder + u".aside"_s;
        QString blocked;
        if (blockFolder) {
            QVERIFY(QDir().rename(folder, aside));
            writeAll(folder, "in the way"_ba);
            blocked = u"gomirlo10.txt"_s;
        } else {
            QVERIFY(QFile::remove(game->records.namePath()));
            QVERIFY(QDir().mkpath(game->records.namePath() + u"/inside"_s));
            blocked = u"gomirlo100.txt"_s;
        }

        game->exitButton()->click();
        QVERIFY2(game->endedWithErrorNaming(blocked), qPrintable(game->errorsShown()));
        QVERIFY(!game->dialogs.texts(DialogCall::Inform).contains(u"Ok! Ho registrato il tuo record, C A M P I O N E"_s));

        if (blockFolder) {
            QVERIFY(QFile::remove(folder));
            QVERIFY(QDir().rename(aside, folder));
            QCOMPARE(game->records.name(), "Bea\r\n"_ba);
        }
        QCOMPARE(game->records.score(), "12\r\n"_ba);
        const QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(left.size(), blockFolder ? 2 : 1); // no half-written files
    }

    void afterTheEndNothingElseHappens()
    {
        auto game = gameWithScore(13);
        game->exitButton()->click();
        const qsizetype shown = game->dialogs.calls.size();
        const QString clock = game->caption("lblconto");
        // Whatever still reaches the window is not handled.
        game->answer(u"7"_s);
        game->tick();
        game->exitButton()->click();
        QCOMPARE(game->dialogs.calls.size(), shown);
        QCOMPARE(game->caption("lblconto"), clock);
        QCOMPARE(game->state().WrongCount, Int16(1));
        QCOMPARE(game->exit.calls, 1);
        QVERIFY(!game->timer()->isActive());
    }

    void theClockStandsStillBehindTheEndMessages_data()
    {
        QTest::addColumn<bool>("byTimeOut");
        QTest::newRow("exit button") << false;
        QTest::newRow("time out") << true;
    }
    void theClockStandsStillBehindTheEndMessages()
    {
        QFETCH(bool, byTimeOut);
        auto game = gameWithScore(13);
        if (byTimeOut) {
            // The last second, with the real timer running.
            game->state().ClockMinutes = 0;
            game->state().ClockSeconds = 0;
            game->control<QLabel>("lblconto")->setText(u"00:00:00"_s);
        }
        QStringList clockWhileShown;
        game->dialogs.whileOpen = [&](const DialogCall &) {
            // A real message box would keep the event loop turning for as
            // long as the child takes to read it.
            const QString before = game->caption("lblconto");
            QTest::qWait(2300);
            clockWhileShown << before << game->caption("lblconto");
        };
        if (byTimeOut)
            QTRY_VERIFY_WITH_TIMEOUT(game->exit.status.has_value(), 3000);
        else
            game->exitButton()->click();
        const QStringList expected{u"Ciao, alla prossima sfida. "_s, u"Ok! Ho registrato il tuo record, C A M P I O N E"_s};
        QCOMPARE(game->dialogs.texts(DialogCall::Inform).mid(1), byTimeOut ? expected : expected.mid(1));
        QVERIFY(!clockWhileShown.isEmpty());
        QCOMPARE(clockWhileShown, QStringList(clockWhileShown.size(), clockWhileShown.first()));
        QCOMPARE(game->exit.calls, 1);
    }
};

QTEST_MAIN(GameEndTest)
#include "test_gameend.moc"
