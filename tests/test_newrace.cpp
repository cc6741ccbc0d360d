// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The "nuovo" menu entry: a confirmed new race rebuilds the window and runs
// the whole start-up again; nothing is saved.
#include "gamewindow.h"

#include <QAction>
#include <QPointer>
#include <QTest>

using namespace Qt::StringLiterals;

class NewRaceTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GameWindow> game;

    void chooseNuovo()
    {
        game->control<QAction>("Next")->trigger();
        game->waitForQuestion();
    }

private slots:
    void init()
    {
        game = std::make_unique<GameWindow>();
        game->records.writeScore("2\r\n"_ba);
        game->records.writeName("Bea\r\n"_ba);
        game->start();
        game->answerRight();
        game->answerRight();
        game->answerRight(); // three: a better score than the record
        game->answer(u"0"_s);
        game->tick();
    }
    void cleanup() { game.reset(); }

    void noChangesNothing()
    {
        const QString number = game->caption("lblNum1");
        const qsizetype before = game->dialogs.calls.size();
        chooseNuovo();
        QCOMPARE(game->dialogs.calls.size(), before + 1);
        const DialogCall confirmation = game->dialogs.calls.last();
        QCOMPARE(confirmation.kind, DialogCall::AskYesNo);
        QCOMPARE(confirmation.text, u"INIZIAMO UNA NUOVA GARA  ?"_s);
        QCOMPARE(confirmation.title, u"INIZIARE NUOVA GARA"_s);
        QCOMPARE(game->caption("lblScore"), u"3"_s);
        QCOMPARE(game->caption("lblScore1"), u"1"_s);
        QCOMPARE(game->caption("lblNum1"), number);
        QCOMPARE(game->caption("lblMessage").left(10), u"Sbagliato!"_s);
        QCOMPARE(game->caption("lblconto"), u"00:04:59"_s);
        QVERIFY(game->timer()->isActive());
        game->tick();
        QCOMPARE(game->caption("lblconto"), u"00:04:58"_s);
    }

    void theTableLimitAnswerDecidesTheMessage_data()
    {
        QTest::addColumn<QString>("limit");
        QTest::addColumn<QStringList>("messages");
        const QStringList reminder{u" Anna siccome non hai scelto arriviamo fino al 10."_s};
        QTest::newRow("empty or Cancel") << QString() << reminder;
        QTest::newRow("blanks") << u"   "_s << QStringList();
        QTest::newRow("a number") << u"5"_s << QStringList();
    }
    void theTableLimitAnswerDecidesTheMessage()
    {
        QFETCH(QString, limit);
        QFETCH(QStringList, messages);
        game->dialogs.yesNoAnswers << true;
        game->dialogs.textAnswers << limit << u"Bea"_s;
        const qsizetype before = game->dialogs.calls.size();
        chooseNuovo();
        const QList<DialogCall> calls = game->dialogs.calls.mid(before);
        QCOMPARE(calls.value(1).kind, DialogCall::AskText);
        QCOMPARE(calls.value(1).text, u"Tavola pitagorica fino al numero? "_s);
        QCOMPARE(calls.value(1).title, u"Gomirlo"_s);
        QStringList shown;
        for (const DialogCall &call : calls.mid(2)) {
            if (call.kind == DialogCall::Inform && !call.text.contains(u"campione"_s))
                shown << call.text;
        }
        QCOMPARE(shown, messages);
        // Then at once the name prompt of a new start.
        QCOMPARE(calls.value(2 + messages.size()).text, u"Come ti chiami?"_s);
    }

    void aNewRaceStartsAfreshAndSavesNothing()
    {
        game->window().showMinimized();
        QTRY_COMPARE(game->window().windowTitle(), u"Trova il successivo"_s);
        game->window().showMaximized();
        QPointer<QLabel> oldScore = game->control<QLabel>("lblScore");
        game->records.writeScore("8\r\n"_ba); // changed by another player meanwhile
        game->dialogs.yesNoAnswers << true;
        game->dialogs.textAnswers << u"10"_s << u"Bea"_s;
        bool hiddenDuringNamePrompt = false;
        game->dialogs.whileOpen = [&](const DialogCall &call) {
            if (call.text == u"Come ti chiami?"_s)
                hiddenDuringNamePrompt = !game->window().isVisible();
        };
        chooseNuovo();

        QVERIFY(hiddenDuringNamePrompt);
        QVERIFY(oldScore.isNull()); // the old controls are gone
        QCOMPARE(game->dialogs.texts(DialogCall::Inform).last(), u" Bea vediamo se sei un vero campione  "_s);
        QCOMPARE(game->caption("lblnome1"), u"Bea"_s);
        QCOMPARE(game->state().CorrectCount, Int16(0));
        QCOMPARE(game->state().WrongCount, Int16(0));
        QCOMPARE(game->caption("lblScore"), u"0"_s);
        QCOMPARE(game->caption("lblScore1"), u"0"_s);
        QCOMPARE(game->caption("lblScore2"), u"0"_s);
        QCOMPARE(game->caption("lblconto"), u"00:05:00"_s);
        QCOMPARE(game->caption("lblpunti"), u"8\r\n"_s);
        QCOMPARE(game->window().windowTitle(), u"Dimmi il gomirlo per arrivare a venti"_s);
        QVERIFY(!game->caption("lblNum1").isEmpty());
        QVERIFY(!game->nextButton()->isEnabled());
        QCOMPARE(game->window().focusWidget(), game->answerBox());
        QVERIFY(game->timer()->isActive());
        QCOMPARE(game->window().findChildren<QTimer *>().size(), 1);
        QCOMPARE(game->records.score(), "8\r\n"_ba);
        QCOMPARE(game->records.name(), "Bea\r\n"_ba);
        QVERIFY(!game->exit.status);

        // The new race plays like the first one.
        game->answerRight();
        QCOMPARE(game->caption("lblScore"), u"1"_s);
    }
};

QTEST_MAIN(NewRaceTest)
#include "test_newrace.moc"
