// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What a screen reader is told about the window, read through QAccessible as
// the desktop's accessibility bridge reads it: every label speaks its own
// text and says what it shows, the buttons speak their captions and access
// keys, the answer box has a name, and what the game changes is read as it is
// shown. (That the changes are also announced on the desktop's accessibility
// bus is checked by the end-to-end test, play.py: the offscreen platform used
// here has no bridge to send announcements through.)
#include "gamewindow.h"

#include <QAccessible>
#include <QLabel>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

QAccessibleInterface *accessible(QObject *object)
{
    QAccessibleInterface *interface = QAccessible::queryAccessibleInterface(object);
    if (!interface)
        qFatal("%s has no accessible interface", qPrintable(object->objectName()));
    return interface;
}

QString spoken(QObject *object, QAccessible::Text what)
{
    return accessible(object)->text(what);
}

} // namespace

class AccessibilityTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GameWindow> game;

private slots:
    void init()
    {
        game = std::make_unique<GameWindow>(u"Anna"_s);
        game->start();
    }
    void cleanup() { game.reset(); }

    void everyLabelSpeaksItsOwnTextAndSaysWhatItShows()
    {
        const QList<QLabel *> labels = game->window().findChildren<QLabel *>();
        QVERIFY(labels.size() >= 18); // the layout has 18, the picture included
        for (QLabel *label : labels) {
            const QString name = label->objectName();
            // A name set on a label would be read instead of its text.
            QVERIFY2(label->accessibleName().isEmpty(), qPrintable(name));
            QVERIFY2(!label->accessibleDescription().isEmpty(), qPrintable(name + u" says nothing of itself"_s));
            QCOMPARE(spoken(label, QAccessible::Description), label->accessibleDescription());
            if (label->pixmap().isNull()) {
                QCOMPARE(accessible(label)->role(), QAccessible::StaticText);
                QCOMPARE(spoken(label, QAccessible::Name), label->text());
            } else {
                QCOMPARE(accessible(label)->role(), QAccessible::Graphic);
            }
        }
    }

    void labelsSayWhatTheyShow_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        QTest::newRow("shown number") << u"lblNum1"_s << u"Numero"_s;
        QTest::newRow("feedback") << u"lblMessage"_s << u"Esito della risposta"_s;
        QTest::newRow("right") << u"lblScore"_s << u"Risposte esatte"_s;
        QTest::newRow("wrong") << u"lblScore1"_s << u"Risposte errate"_s;
        QTest::newRow("total") << u"lblScore2"_s << u"Risposte totali"_s;
        QTest::newRow("clock") << u"lblconto"_s << u"Tempo restante"_s;
        QTest::newRow("player") << u"lblnome1"_s << u"Sfidante"_s;
        QTest::newRow("record holder") << u"lblnome"_s << u"Detentore del record"_s;
        QTest::newRow("record score") << u"lblpunti"_s << u"Record"_s;
    }
    void labelsSayWhatTheyShow()
    {
        QFETCH(QString, name);
        QFETCH(QString, description);
        auto *label = game->window().findChild<QLabel *>(name);
        QVERIFY(label);
        QCOMPARE(spoken(label, QAccessible::Description), description);
    }

    // A screen reader finds each value by what its label says it shows, so
    // no two labels may say the same of a value.
    void valueLabelsCanBeToldApart()
    {
        const QStringList values{u"lblNum1"_s, u"lblMessage"_s, u"lblScore"_s, u"lblScore1"_s, u"lblScore2"_s,
                                 u"lblconto"_s, u"lblnome1"_s, u"lblnome"_s, u"lblpunti"_s};
        QStringList described;
        for (const QString &name : values)
            described << spoken(game->control(name.toLatin1().constData()), QAccessible::Description);
        QCOMPARE(QSet<QString>(described.begin(), described.end()).size(), values.size());
        for (QLabel *label : game->window().findChildren<QLabel *>()) {
            if (!values.contains(label->objectName()))
                QVERIFY2(!described.contains(spoken(label, QAccessible::Description)), qPrintable(label->objectName()));
        }
    }

    void theStartUpIsReadAsShown()
    {
        QCOMPARE(spoken(game->control("lblnome1"), QAccessible::Name), u"Anna"_s);
        QCOMPARE(spoken(game->control("lblconto"), QAccessible::Name), u"00:05:00"_s);
        const QString number = spoken(game->control("lblNum1"), QAccessible::Name);
        QCOMPARE(number, QString::number(20 - game->state().ExpectedAnswer.value()));
    }

    void buttonsSpeakTheirCaptionsAndKeys()
    {
        QAccessibleInterface *next = accessible(game->nextButton());
        QAccessibleInterface *exit = accessible(game->exitButton());
        QCOMPARE(next->role(), QAccessible::Button);
        QCOMPARE(exit->role(), QAccessible::Button);
        // The caption without its access-key mark, as a person reads it.
        QCOMPARE(next->text(QAccessible::Name), u"Nuovo calcolo"_s);
        QCOMPARE(exit->text(QAccessible::Name), u"Exit"_s);
        QCOMPARE(next->text(QAccessible::Description), u"Mostra un nuovo numero da completare fino a 20"_s);
        QCOMPARE(exit->text(QAccessible::Description), u"Termina la gara e registra il record se lo hai battuto"_s);
        // The access keys are told too.
        QVERIFY(next->actionInterface());
        QVERIFY(exit->actionInterface());
        QCOMPARE(next->actionInterface()->keyBindingsForAction(QAccessibleActionInterface::pressAction()),
                 QStringList{u"Alt+N"_s});
        QCOMPARE(exit->actionInterface()->keyBindingsForAction(QAccessibleActionInterface::pressAction()),
                 QStringList{u"Alt+X"_s});
        // While a question waits, Nuovo calcolo is there but cannot be pressed.
        QVERIFY(next->state().disabled);
        QVERIFY(!exit->state().disabled);
    }

    void theAnswerBoxIsNamedAndHoldsTheFocus()
    {
        QAccessibleInterface *box = accessible(game->answerBox());
        QCOMPARE(box->role(), QAccessible::EditableText);
        QCOMPARE(box->text(QAccessible::Name), u"Risposta"_s);
        QVERIFY(!box->text(QAccessible::Description).isEmpty());
        QVERIFY(box->state().focused);
        QAccessibleTextInterface *text = box->textInterface();
        QVERIFY(text);
        QTest::keyClicks(game->answerBox(), u"1x3"_s);
        // What the box holds is what the reader reads: the letter never got in.
        QCOMPARE(text->text(0, text->characterCount()), u"13"_s);
    }

    void aRightAnswerIsReadAsShown()
    {
        const int expected = game->state().ExpectedAnswer.value();
        game->answer(QString::number(expected));
        QLabel *message = game->control("lblMessage");
        QCOMPARE(spoken(message, QAccessible::Name), u"Esatto! Anna Sei forte!"_s);
        QCOMPARE(spoken(game->control("lblScore"), QAccessible::Name), u"1"_s);
        QCOMPARE(spoken(game->control("lblScore1"), QAccessible::Name), u"0"_s);
        QCOMPARE(spoken(game->control("lblScore2"), QAccessible::Name), u"1"_s);
        // The focus moves to Nuovo calcolo.
        QAccessibleInterface *next = accessible(game->nextButton());
        QVERIFY(!next->state().disabled);
        QVERIFY(next->state().focused);
    }

    void aWrongAnswerIsReadAsShown()
    {
        const int expected = game->state().ExpectedAnswer.value();
        game->answer(u"0"_s);
        QLabel *message = game->control("lblMessage");
        QCOMPARE(spoken(message, QAccessible::Name), u"Sbagliato!! "_s + QString::number(expected));
        QCOMPARE(spoken(game->control("lblScore1"), QAccessible::Name), u"1"_s);
        QCOMPARE(spoken(game->control("lblScore2"), QAccessible::Name), u"1"_s);
    }

    void theClockIsReadAsItRuns()
    {
        QLabel *clock = game->control("lblconto");
        game->tick();
        QCOMPARE(spoken(clock, QAccessible::Name), u"00:04:59"_s);
    }

    void theNextQuestionIsReadAndTheFocusReturns()
    {
        game->answer(QString::number(game->state().ExpectedAnswer.value()));
        game->nextButton()->click();
        const QString number = spoken(game->control("lblNum1"), QAccessible::Name);
        QCOMPARE(number, QString::number(20 - game->state().ExpectedAnswer.value()));
        QCOMPARE(spoken(game->control("lblMessage"), QAccessible::Name), QString());
        QVERIFY(accessible(game->answerBox())->state().focused);
    }

    void theWindowIsNamedByItsCaption()
    {
        QAccessibleInterface *window = accessible(&game->window());
        QCOMPARE(window->role(), QAccessible::Window);
        QCOMPARE(window->text(QAccessible::Name), u"Dimmi il gomirlo per arrivare a venti"_s);
    }
};

QTEST_MAIN(AccessibilityTest)
#include "test_accessibility.moc"
