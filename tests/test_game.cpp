// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A game from start to end: the name and the greeting, the stored record, the
// five-minute clock, the end by the exit button or the time, the record files
// and the messages, nothing at all after the end, and a new race.
#include "gamewindow.h"
#include "recordstore.h"

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
        game.answer(i < score ? QString::number(game.state().ExpectedAnswer.value()) : u"0"_s);
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

// Whether the game reported a run-time error naming the file, as its last
// message, and then ended with status 1.
bool endedWithAnErrorNaming(const GameWindow &game, const QString &path)
{
    return game.messages().last().contains(path) && game.exit.status == 1 && game.exit.calls == 1;
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
        QTest::addColumn<int>("score");
        QTest::addColumn<bool>("timeOut"); // or the exit button
        QTest::addColumn<bool>("beaten");
        QTest::addColumn<Files>("after");
        QTest::newRow("first run: files made, 0 does not beat") << u"Anna"_s << Files() << 0 << false << false << pair("", "");
        QTest::newRow("first run: 1 beats, no name") << QString() << Files() << 1 << false << true << pair("1\r\n", "\r\n");
        QTest::newRow("equal does not beat") << u" Ugo "_s << pair("12\r\n") << 12 << false << false << pair("12\r\n");
        QTest::newRow("one more beats") << u" Ugo "_s << pair("12\r\n") << 13 << false << true << pair("13\r\n", " Ugo \r\n");
        QTest::newRow("time-out, kept") << u"Anna"_s << pair("12\r\n") << 3 << true << false << pair("12\r\n");
        QTest::newRow("time-out, beaten") << u"Anna"_s << pair("12\r\n") << 13 << true << true << pair("13\r\n", "Anna\r\n");
        // The power went after the score had been replaced, before the name:
        // the old pair is put back before it is read.
        QTest::newRow("write cut short") << u"Anna"_s << Files{{Score, "15\r\n"}, {Score + ".old", "9\r\n"}, {Name, "Bea\r\n"}, {Name + ".new", "Ugo\r\n"}}
                                         << 9 << false << false << pair("9\r\n");
        // Records edited by hand or damaged count by the number they begin
        // with, 0 when none; only the first 64 KiB are read.
        QTest::newRow("letters") << u"Anna"_s << pair("abc\r\n", "Niccol\xF2") << 1 << false << true << pair("1\r\n", "Anna\r\n");
        QTest::newRow("10 MiB of digits") << u"Anna"_s << pair(QByteArray(10 << 20, '9')) << 2 << false << false << pair(QByteArray(10 << 20, '9'));
    }
    void aGameFromTheNameToTheRecord()
    {
        QFETCH(QString, name);
        QFETCH(Files, before);
        QFETCH(int, score);
        QFETCH(bool, timeOut);
        QFETCH(bool, beaten);
        QFETCH(Files, after);
        GameWindow game(name);
        game.records.put(before);
        bool hiddenAndStill = true;
        Files whenSaid;
        QStringList clockBehind; // the clock before and after two ticks behind an end message
        game.dialogs.whileOpen = [&](const DialogCall &call) {
            if (game.dialogs.calls.size() <= 2) // the name prompt and the greeting
                hiddenAndStill = hiddenAndStill && !game.window().isVisible() && !game.timer()->isActive();
            if (call.text == Saved)
                whenSaid = game.records.files();
            if (call.text == Saved || call.text == Goodbye) {
                const QString before = game.timer()->isActive() ? game.caption("lblconto") : u"stopped"_s;
                game.tick(2);
                clockBehind << before + u" > "_s + game.caption("lblconto");
            }
        };
        game.start();
        QVERIFY(hiddenAndStill);
        const QString folder = game.records.path() + u'/';
        QCOMPARE(game.captions({"lblnome1", "lblpunti", "lblnome", "lblconto"}),
                 (QStringList{name, RecordStore::Leggifiletxt(folder + Score), RecordStore::Leggifiletxt(folder + Name), u"00:05:00"_s}));
        QCOMPARE(std::tuple(game.timer()->isActive(), game.timer()->interval(), game.window().isMaximized()), std::tuple(true, 1000, true));
        game.timer()->stop(); // the test delivers the ticks itself...
        answer(game, score);
        game.timer()->start(); // ...but the clock must still run behind the end messages
        for (const auto &[ticks, display] : {std::pair(1, u"00:04:59"_s), {59, u"00:04:00"_s}, {1, u"00:03:59"_s}, {238, u"00:00:01"_s},
                                             {int(timeOut), timeOut ? u"00:00:00"_s : u"00:00:01"_s}}) {
            game.tick(ticks);
            QCOMPARE(game.caption("lblconto"), display);
        }
        // The child sees zero for a whole second: the tick after it ends the game.
        QCOMPARE(game.messages().size(), 1);
        timeOut ? game.tick() : game.exitButton()->click();

        QStringList messages{u" "_s + name + u" vediamo se sei un vero campione  "_s};
        if (timeOut)
            messages << Goodbye; // before the comparison, whatever it finds
        if (beaten)
            messages << Saved;
        QCOMPARE(game.messages(), messages);
        // Behind them the clock counts on, down to zero; a tick at zero starts
        // no second end of game.
        QCOMPARE(clockBehind, QStringList(messages.size() - 1, timeOut ? u"00:00:00 > 00:00:00"_s : u"00:00:01 > 00:00:00"_s));
        QCOMPARE(game.records.files(), after);
        QCOMPARE(whenSaid, beaten ? after : Files()); // saved before it is said
        for (const DialogCall &call : game.dialogs.calls)
            QCOMPARE(call.title, u"Gomirlo"_s);
        QCOMPARE(std::tuple(game.exit.status, game.exit.calls), std::tuple(std::optional(0), 1));
        // The end is at once: whatever still reaches the window is not handled.
        const auto now = [&] { return std::tuple(game.dialogs.calls.size(), game.caption("lblconto"), game.state().WrongCount, game.exit.calls); };
        const auto atTheEnd = now();
        game.answer(u"7"_s);
        game.tick();
        game.exitButton()->click();
        QCOMPARE(now(), atTheEnd);
    }

    void aRecordThatCannotBeMadeOrWrittenEndsTheGame()
    {
        GameWindow start;
        putFiles(QFileInfo(start.records.path()).path(), {{u"gomirlo"_s, "not a folder"}});
        start.start();
        QVERIFY2(endedWithAnErrorNaming(start, start.records.path()), qPrintable(start.messages().join(u'|')));
        QVERIFY(!start.timer()->isActive());
        QCOMPARE(start.caption("lblNum1"), QString()); // before any question

        auto end = played(13);
        end->records.put({{Name, "<dir>"}});
        end->exitButton()->click();
        QVERIFY2(endedWithAnErrorNaming(*end, end->records.path() + u'/' + Name), qPrintable(end->messages().join(u'|')));
        QVERIFY(!end->messages().contains(Saved));
    }

    // Another copy of the game, on this PC or another, saved a higher record
    // since this game started: it stands, and nothing is said.
    void aHigherRecordSavedMeanwhileStands()
    {
        auto game = played(13);
        game->records.put(pair("20\r\n", "Ugo\r\n"));
        game->exitButton()->click();
        QCOMPARE(std::tuple(game->messages().size(), game->exit.status), std::tuple(1, std::optional(0)));
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
        QCOMPARE(asked, QStringList({confirmation, confirmation, u"Tavola pitagorica fino al numero? "_s}) + told
                     + QStringList({u"Come ti chiami?"_s, u" Ugo vediamo se sei un vero campione  "_s}));
        QCOMPARE(game->dialogs.calls.at(2).title, u"INIZIARE NUOVA GARA"_s);
        QCOMPARE(game->captions({"lblnome1", "lblScore", "lblScore1", "lblScore2", "lblconto", "lblpunti"}),
                 (QStringList{u"Ugo"_s, u"0"_s, u"0"_s, u"0"_s, u"00:05:00"_s, u"8\r\n"_s}));
        QCOMPARE(game->window().focusWidget(), game->answerBox());
        QCOMPARE(game->window().findChildren<QTimer *>().size(), 1);
        QCOMPARE(game->records.files(), pair("8\r\n"));
        // The new race plays like the first one, from 0, against the real timer.
        answer(*game, 1);
        QCOMPARE(std::tuple(game->caption("lblScore"), game->exit.status.has_value()), std::tuple(u"1"_s, false));
        QTRY_COMPARE_WITH_TIMEOUT(game->caption("lblconto"), u"00:04:59"_s, 2500);
    }
};

QTEST_MAIN(GameTest)
#include "test_game.moc"
