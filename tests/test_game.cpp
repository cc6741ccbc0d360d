// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A game from start to end: the name and the greeting, the stored record, the
// five-minute clock, the end by the exit button or the time, watched from
// outside as the program ends, with the record files and the messages; and a
// new race.
#include "gamewindow.h"

#include <QAction>

using namespace Qt::StringLiterals;

namespace {

const QString Saved = u"Ok! Ho registrato il tuo record, C A M P I O N E"_s;
const QString Goodbye = u"Ciao, alla prossima sfida. "_s;

Files pair(const QByteArray &score, const QByteArray &name = "Bea\r\n")
{
    return {{Score, score}, {Name, name}};
}

// This many right answers and then a wrong one, which never counts, each
// followed by the next question.
void answer(GameWindow &game, int score)
{
    for (int i = 0; i <= score; ++i) {
        game.answer(i < score ? QString::number(game.rightAnswer()) : u"0"_s);
        game.nextButton()->click();
    }
}

// A game against the record files given, with that score so far.
std::unique_ptr<GameWindow> played(int score, const Files &records = pair("12\r\n"), const QString &name = u"Anna"_s)
{
    auto game = std::make_unique<GameWindow>(name);
    game->records.put(records);
    game->start();
    answer(*game, score);
    return game;
}

} // namespace

class GameTest : public QObject
{
    Q_OBJECT

private slots:
    void aGameFromTheNameToTheRecord_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Files>("before");
        QTest::addColumn<QString>("shown"); // the record and its holder, as the window shows them
        QTest::addColumn<int>("score");
        QTest::addColumn<bool>("timeOut"); // or the exit button
        QTest::addColumn<bool>("beaten");
        QTest::addColumn<Files>("after");
        const QString twelve = u"12\r\n|Bea\r\n"_s;
        QTest::newRow("first run: files made, 0 does not beat") << u"Anna"_s << Files() << u"|"_s << 0 << false << false << pair("", "");
        QTest::newRow("first run: 1 beats, no name") << QString() << Files() << u"|"_s << 1 << false << true << pair("1\r\n", "\r\n");
        QTest::newRow("equal does not beat") << u" Ugo "_s << pair("12\r\n") << twelve << 12 << false << false << pair("12\r\n");
        QTest::newRow("one more beats") << u" Ugo "_s << pair("12\r\n") << twelve << 13 << false << true << pair("13\r\n", " Ugo \r\n");
        QTest::newRow("time-out, kept") << u"Anna"_s << pair("12\r\n") << twelve << 3 << true << false << pair("12\r\n");
        QTest::newRow("time-out, beaten") << u"Anna"_s << pair("12\r\n") << twelve << 13 << true << true << pair("13\r\n", "Anna\r\n");
        // Records edited by hand or damaged count by the number they begin
        // with, 0 when none; they are read whole up to 64 KiB, where a
        // character cut in two is dropped.
        const QByteArray lines = "Niccol\xF2\r\nBea\n", cut = QByteArray(65535, 'a') + "\xC3\xB2";
        QTest::newRow("letters, lines") << u"Anna"_s << pair("abc\r\n", lines) << u"abc\r\n|Niccolò\r\nBea\n"_s << 1 << false << true << pair("1\r\n", "Anna\r\n");
        QTest::newRow("10 MiB of digits") << u"Anna"_s << pair(QByteArray(10 << 20, '9'), cut) << QString(65536, u'9') + u'|' + QString(65535, u'a') << 2
                                          << false << false << pair(QByteArray(10 << 20, '9'), cut);
    }
    void aGameFromTheNameToTheRecord()
    {
        QFETCH(QString, name);
        QFETCH(Files, before);
        QFETCH(QString, shown);
        QFETCH(int, score);
        QFETCH(bool, timeOut);
        QFETCH(bool, beaten);
        QFETCH(Files, after);
        GameWindow game(name);
        game.records.put(before);
        bool hiddenAndStill = true;
        game.dialogs.whileOpen = [&](const DialogCall &call) {
            if (game.dialogs.calls.size() <= 2) // the name prompt and the greeting
                hiddenAndStill = hiddenAndStill && !game.window().isVisible() && !game.timer()->isActive();
            // The record is saved before it is said. Behind the end's messages
            // the clock counts on, down to zero; a tick at zero starts no
            // second end of game.
            if (call.text == Saved)
                QCOMPARE(game.records.files(), after);
            if (call.text == Saved || call.text == Goodbye) {
                const QString clock = game.caption("lblconto");
                game.tick(2);
                QCOMPARE(std::tuple(game.timer()->isActive(), clock, game.caption("lblconto")),
                         std::tuple(true, timeOut ? u"00:00:00"_s : u"00:00:01"_s, u"00:00:00"_s));
            }
        };
        game.start();
        QVERIFY(hiddenAndStill);
        QCOMPARE(game.captions({"lblnome1", "lblpunti", "lblnome", "lblconto"}).join(u'|'), name + u'|' + shown + u"|00:05:00"_s);
        QVERIFY(game.timer()->isActive() && game.window().isMaximized());
        game.timer()->stop(); // the test delivers the ticks itself...
        answer(game, score);
        game.timer()->start(); // ...but the clock must still run behind the end messages
        for (const auto &[ticks, display] : {std::pair(1, u"00:04:59"_s), {59, u"00:04:00"_s}, {1, u"00:03:59"_s}, {238, u"00:00:01"_s}, {int(timeOut), timeOut ? u"00:00:00"_s : u"00:00:01"_s}}) {
            game.tick(ticks);
            QCOMPARE(game.caption("lblconto"), display);
        }
        // The child sees zero for a whole second: the tick after it ends the game.
        QCOMPARE(game.messages().size(), 1);
        const int status = game.endedBy([&] { timeOut ? game.tick() : game.exitButton()->click(); });

        QStringList messages{u" "_s + name + u" vediamo se sei un vero campione  "_s};
        if (timeOut)
            messages << Goodbye; // before the comparison, whatever it finds
        if (beaten)
            messages << Saved;
        QCOMPARE(std::pair(status, game.messages()), std::pair(0, messages));
        QCOMPARE(game.records.files(), after);
        for (const DialogCall &call : game.dialogs.calls)
            QCOMPARE(call.title, u"Gomirlo"_s);
    }

    void aRecordThatCannotBeMadeOrWrittenEndsTheGame()
    {
        GameWindow start;
        putFiles(QFileInfo(start.records.path()).path(), {{u"gomirlo"_s, "not a folder"}});
        start.dialogs.whileOpen = [&](const DialogCall &) {
            if (start.dialogs.calls.size() > 2) // before any question, and with no tick to end the game
                QVERIFY(start.caption("lblNum1").isEmpty() && !start.timer()->isActive());
        };
        QCOMPARE(start.endedBy([&] { start.start(); }), 1);
        QVERIFY2(start.messages().last().contains(start.records.path()), qPrintable(start.messages().join(u'|')));

        auto end = played(13);
        end->records.put({{Name, "<dir>"}});
        QCOMPARE(end->endedBy([&] { end->exitButton()->click(); }), 1);
        QVERIFY2(end->messages().last().contains(end->records.path() + u'/' + Name), qPrintable(end->messages().join(u'|')));
        QVERIFY(!end->messages().contains(Saved));
    }

    // Another copy of the game, on this PC or another, saved a higher record
    // since this game started: it stands, and nothing is said.
    void aHigherRecordSavedMeanwhileStands()
    {
        auto game = played(13);
        game->records.put(pair("20\r\n", "Ugo\r\n"));
        QCOMPARE(game->endedBy([&] { game->exitButton()->click(); }), 0);
        QCOMPARE(game->messages().size(), 1);
        QCOMPARE(game->records.files(), pair("20\r\n", "Ugo\r\n"));
    }

    void aNewRaceIsConfirmedThenStartsAfreshAndSavesNothing_data()
    {
        QTest::addColumn<QString>("limit");
        QTest::addColumn<QStringList>("told");
        QTest::newRow("empty or Cancel") << QString() << QStringList{u" Anna siccome non hai scelto arriviamo fino al 10."_s};
        QTest::newRow("blanks") << u"   "_s << QStringList();
        QTest::newRow("a number") << u"5"_s << QStringList();
    }
    void aNewRaceIsConfirmedThenStartsAfreshAndSavesNothing()
    {
        QFETCH(QString, limit);
        QFETCH(QStringList, told);
        auto game = played(3, pair("2\r\n"));
        game->window().showMinimized();
        QTRY_COMPARE(game->window().windowTitle(), u"Trova il successivo"_s);
        game->window().showMaximized();
        QCOMPARE(game->window().windowTitle(), u"Trova il successivo"_s); // for good
        // No: nothing changes, and the clock carries on.
        const QStringList shown = game->captions({"lblNum1", "lblMessage", "lblScore"});
        game->control<QAction>("Next")->trigger();
        QCOMPARE(game->captions({"lblNum1", "lblMessage", "lblScore"}), shown);
        game->tick();
        QCOMPARE(game->caption("lblconto"), u"00:04:59"_s);

        game->dialogs.yesNoAnswers << true;
        game->dialogs.textAnswers << limit << u"Ugo"_s;
        game->records.put({{Score, "8\r\n"}}); // changed by another player meanwhile
        game->control<QAction>("Next")->trigger();
        game->waitForQuestion();

        // Asked twice whether to start anew (No, then Yes), then the table's
        // limit; then the new race's name and greeting.
        QStringList asked;
        for (const DialogCall &call : game->dialogs.calls.mid(2))
            asked << call.text;
        const QString confirmation = u"INIZIAMO UNA NUOVA GARA  ?"_s;
        QCOMPARE(asked, QStringList({confirmation, confirmation, u"Tavola pitagorica fino al numero? "_s}) + told + QStringList({u"Come ti chiami?"_s, u" Ugo vediamo se sei un vero campione  "_s}));
        QCOMPARE(game->dialogs.calls.at(2).title, u"INIZIARE NUOVA GARA"_s);
        QCOMPARE(game->captions({"lblnome1", "lblScore", "lblScore1", "lblScore2", "lblconto", "lblpunti"}),
                 (QStringList{u"Ugo"_s, u"0"_s, u"0"_s, u"0"_s, u"00:05:00"_s, u"8\r\n"_s}));
        QCOMPARE(game->window().focusWidget(), game->answerBox());
        QCOMPARE(game->window().findChildren<QTimer *>().size(), 1);
        QCOMPARE(game->records.files(), pair("8\r\n"));
        // The new race plays like the first one, from 0, against the real timer.
        answer(*game, 1);
        QCOMPARE(game->caption("lblScore"), u"1"_s);
        QTRY_COMPARE_WITH_TIMEOUT(game->caption("lblconto"), u"00:04:59"_s, 2500);
    }
};

QTEST_MAIN(GameTest)
#include "test_game.moc"
