// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Typing into the answer box and judging the answer, as the child does it.
#include "gamewindow.h"

#include <QClipboard>
#include <QTest>

using namespace Qt::StringLiterals;

class AnswersTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GameWindow> game;

    // The question on show, made to be "7 and how much makes twenty".
    void expectThirteen() { game->state().ExpectedAnswer = 13; }

private slots:
    void init()
    {
        game = std::make_unique<GameWindow>();
        game->start();
    }
    void cleanup() { game.reset(); }

    void onlyDigitsAndBackspaceReachTheBox_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("after");
        QTest::newRow("digit") << int(Qt::Key_4) << int(Qt::NoModifier) << u"124"_s;
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << int(Qt::NoModifier) << u"1"_s;
        QTest::newRow("letter") << int(Qt::Key_A) << int(Qt::NoModifier) << u"12"_s;
        QTest::newRow("minus") << int(Qt::Key_Minus) << int(Qt::NoModifier) << u"12"_s;
        QTest::newRow("full stop") << int(Qt::Key_Period) << int(Qt::NoModifier) << u"12"_s;
        QTest::newRow("space") << int(Qt::Key_Space) << int(Qt::NoModifier) << u"12"_s;
        QTest::newRow("Ctrl+V") << int(Qt::Key_V) << int(Qt::ControlModifier) << u"12"_s;
        // Keys that type nothing keep working as in any text box.
        QTest::newRow("Delete after Home") << int(Qt::Key_Delete) << int(Qt::NoModifier) << u"2"_s;
    }
    void onlyDigitsAndBackspaceReachTheBox()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, after);
        QGuiApplication::clipboard()->setText(u"99"_s);
        QTest::keyClicks(game->answerBox(), u"12"_s);
        if (key == Qt::Key_Delete)
            QTest::keyClick(game->answerBox(), Qt::Key_Home);
        QTest::keyClick(game->answerBox(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(game->answerBox()->text(), after);
        QCOMPARE(game->state().CorrectCount.value() + game->state().WrongCount.value(), 0);
    }

    void enterJudgesTheNumberInTheBox_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("right");
        QTest::newRow("13") << u"13"_s << true;
        QTest::newRow("leading zero") << u"013"_s << true;
        QTest::newRow("12") << u"12"_s << false;
        QTest::newRow("empty box") << QString() << false;
        QTest::newRow("more than 16 bits") << u"99999"_s << false;
    }
    void enterJudgesTheNumberInTheBox()
    {
        QFETCH(QString, typed);
        QFETCH(bool, right);
        expectThirteen();
        game->answer(typed);
        QCOMPARE(game->caption("lblMessage"), right ? u"Esatto! Anna Sei forte!"_s : u"Sbagliato!! 13"_s);
        QCOMPARE(game->state().CorrectCount, Int16(right ? 1 : 0));
        QCOMPARE(game->state().WrongCount, Int16(right ? 0 : 1));
        // The answer stays on show, and the button takes over.
        QCOMPARE(game->answerBox()->text(), typed);
        QVERIFY(game->nextButton()->isEnabled());
        QCOMPARE(QApplication::focusWidget(), game->nextButton());
        QVERIFY(game->dialogs.texts(DialogCall::ReportError).isEmpty());
    }

    void praiseWithoutANameKeepsBothBlanks()
    {
        GameWindow nameless{QString()};
        nameless.start();
        nameless.answer(QString::number(nameless.state().ExpectedAnswer.value()));
        QCOMPARE(nameless.caption("lblMessage"), u"Esatto!  Sei forte!"_s);
    }

    void theThreeCountersFollowTheAnswers()
    {
        game->answerRight();
        game->answerWrong();
        game->answer(u"0"_s);
        QCOMPARE(game->caption("lblScore"), u"1"_s);
        QCOMPARE(game->caption("lblScore1"), u"2"_s);
        QCOMPARE(game->caption("lblScore2"), u"3"_s);
    }

    void aRightAnswerLeavesTheWrongCounterAlone()
    {
        game->answerWrong();
        game->control<QLabel>("lblScore1")->setText(u"x"_s); // would be rewritten by a wrong answer
        game->answerRight();
        QCOMPARE(game->caption("lblScore1"), u"x"_s);
        QCOMPARE(game->caption("lblScore2"), u"2"_s);
    }

    void everyEnterInTheBoxCountsAgain()
    {
        expectThirteen();
        game->answer(u"13"_s);
        QTest::keyClick(game->answerBox(), Qt::Key_Return);
        QCOMPARE(game->caption("lblScore"), u"2"_s);
        QCOMPARE(game->caption("lblScore2"), u"2"_s);
    }

    void typingAfterJudgingGoesToTheButton()
    {
        game->answer(u"5"_s);
        QTest::keyClicks(QApplication::focusWidget(), u"77"_s);
        QCOMPARE(game->answerBox()->text(), u"5"_s);
        // Enter on the button asks for the next question.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(game->answerBox()->text(), QString());
        QCOMPARE(QApplication::focusWidget(), game->answerBox());
    }

    void pastedTextIsJudgedByItsLeadingNumber_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<bool>("right");
        QTest::newRow("13 and more") << u"13abc"_s << true;
        QTest::newRow("blanks first") << u"  13"_s << true;
        QTest::newRow("a half rounds to even") << u"12.5"_s << false;
        QTest::newRow("and up") << u"13.5"_s << false;
        QTest::newRow("40000") << u"40000"_s << false;
        QTest::newRow("letters") << u"abc"_s << false;
        QTest::newRow("a million digits") << QString(1000000, u'9') << false;
        QTest::newRow("minus inside") << u"1-3"_s << false;
        QTest::newRow("Arabic-Indic digits") << u"\u0661\u0663"_s << false;
    }
    void pastedTextIsJudgedByItsLeadingNumber()
    {
        QFETCH(QString, pasted);
        QFETCH(bool, right);
        expectThirteen();
        QGuiApplication::clipboard()->setText(pasted);
        game->answerBox()->paste(); // as the box's own context menu does
        QTest::keyClick(game->answerBox(), Qt::Key_Return);
        QCOMPARE(game->state().CorrectCount, Int16(right ? 1 : 0));
        QCOMPARE(game->state().WrongCount, Int16(right ? 0 : 1));
        QVERIFY(game->dialogs.texts(DialogCall::ReportError).isEmpty());
        QVERIFY(!game->exit.status);
    }

    void aCounterPast32767IsTheOverflowError()
    {
        game->state().CorrectCount = Int16::Max;
        game->answer(QString::number(game->state().ExpectedAnswer.value()));
        QVERIFY2(game->endedWithErrorNaming(u"Overflow"_s), qPrintable(game->errorsShown()));
        // Nothing after the error: no feedback, no further handling.
        QCOMPARE(game->caption("lblMessage"), QString());
        game->answer(u"1"_s);
        QCOMPARE(game->state().WrongCount, Int16(0));
    }
};

QTEST_MAIN(AnswersTest)
#include "test_answers.moc"
