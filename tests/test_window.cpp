// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The window as the child meets it: a question and its answer (the number over
// its backdrop, the keys the answer box lets through, the judgement and the
// counters), the focus, the access keys, the buttons' pictures and the labels,
// all read back from the window as it was painted or as a screen reader hears it.
#include "autosizelabel.h"
#include "gamewindow.h"

#include <QAccessible>
#include <QClipboard>

using namespace Qt::StringLiterals;

class WindowTest : public QObject
{
    Q_OBJECT

private slots:
    void everyQuestionShowsOneToNineOverItsOwnTint()
    {
        GameWindow game;
        game.start();
        const int height = game.control<QWidget>("centralwidget")->height();
        // The backdrop where no control covers it, at the top, the middle and the bottom.
        const auto backdrop = [&] { return QList<QColor>{game.onScreen({150, 0}), game.onScreen({785, height / 2}), game.onScreen({785, height - 1})}; };
        QSet<int> numbers, tints;
        for (int question = 0; question < 400; ++question) {
            const int shown = game.caption("lblNum1").toInt();
            QVERIFY2(shown >= 1 && shown <= 9, qPrintable(game.caption("lblNum1")));
            QCOMPARE(game.answerBox()->text() + game.caption("lblMessage"), QString()); // the last answer cleared
            QCOMPARE(std::tuple(game.nextButton()->isEnabled(), QApplication::focusWidget()), std::tuple(false, game.answerBox()));
            numbers.insert(shown);
            // 256 bands from blue 0 to 255, red and green ten times the tint;
            // only a wrong answer blackens it, until the next question.
            const int level = game.onScreen({150, 0}).red();
            tints.insert(level);
            const QList<QColor> bands{QColor(level, level, 0), QColor(level, level, 128), QColor(level, level, 255)};
            const bool right = question % 2;
            if (question < 20)
                QCOMPARE(backdrop(), bands);
            game.answer(right ? QString::number(20 - shown) : u"0"_s);
            if (question < 20)
                QCOMPARE(backdrop(), right ? bands : QList<QColor>(3, Qt::black));
            game.nextButton()->click();
        }
        QCOMPARE(numbers.size(), 9);
        QSet<int> everyTint; // red and green 0, 10, ... 140
        for (int level = 0; level <= 140; level += 10)
            everyTint << level;
        QVERIFY(tints == everyTint);
    }

    void theBoxTakesDigitsAndEnterJudges_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed"); // then the key below
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("message"); // after the key, or Enter if it judged nothing
        // RR stands for the right answer to the number on show, WW for one less.
        const QString right = u"Esatto! Anna Sei forte!"_s, wrong = u"Sbagliato!! RR"_s;
        const QKeyCombination enter(Qt::Key_Return);
        QTest::newRow("right") << u"Anna"_s << u"RR"_s << enter << u"RR"_s << right;
        QTest::newRow("one less") << u"Anna"_s << u"WW"_s << enter << u"WW"_s << wrong;
        QTest::newRow("no name: two blanks") << QString() << u"RR"_s << enter << u"RR"_s << u"Esatto!  Sei forte!"_s;
        QTest::newRow("Ctrl+M, the Enter character") << u"Anna"_s << u"RR"_s << QKeyCombination(Qt::CTRL, Qt::Key_M) << u"RR"_s << right;
        QTest::newRow("Backspace") << u"Anna"_s << u"RR4"_s << QKeyCombination(Qt::Key_Backspace) << u"RR"_s << right;
        QTest::newRow("Ctrl+H, the Backspace character") << u"Anna"_s << u"RR4"_s << QKeyCombination(Qt::CTRL, Qt::Key_H) << u"RR"_s << right;
        // Keys that type nothing work as in any text box.
        QTest::newRow("Delete after Home") << u"Anna"_s << u"2RR"_s << QKeyCombination(Qt::Key_Delete) << u"RR"_s << right;
        // Anything else typed never reaches the box.
        for (const QKeyCombination key : {QKeyCombination(Qt::Key_A), QKeyCombination(Qt::Key_Minus), QKeyCombination(Qt::Key_Period), QKeyCombination(Qt::Key_Space), QKeyCombination(Qt::CTRL, Qt::Key_V)})
            QTest::addRow("%s cancelled", qPrintable(QKeySequence(key).toString())) << u"Anna"_s << u"RR"_s << key << u"RR"_s << right;
        // Pasted by the box's own context menu: the number it begins with.
        QTest::newRow("pasted the answer and more") << u"Anna"_s << u"paste  RRabc"_s << enter << u" RRabc"_s << right;
    }
    void theBoxTakesDigitsAndEnterJudges()
    {
        QFETCH(QString, name);
        QFETCH(QString, typed);
        QFETCH(QKeyCombination, key);
        QFETCH(QString, box);
        QFETCH(QString, message);
        GameWindow game(name);
        game.start();
        for (QString *text : {&typed, &box, &message})
            text->replace(u"RR"_s, QString::number(game.rightAnswer())).replace(u"WW"_s, QString::number(game.rightAnswer() - 1));
        const bool pasted = typed.startsWith(u"paste "_s);
        QGuiApplication::clipboard()->setText(pasted ? typed.mid(6) : u"99"_s);
        pasted ? game.answerBox()->paste() : QTest::keyClicks(game.answerBox(), typed);
        if (key.key() == Qt::Key_Delete)
            QTest::keyClick(game.answerBox(), Qt::Key_Home);
        QTest::keyClick(game.answerBox(), key.key(), key.keyboardModifiers());
        QCOMPARE(game.answerBox()->text(), box);
        // Enter and Ctrl+M type the Enter character, which judges.
        const bool judged = key == QKeyCombination(Qt::Key_Return) || key == QKeyCombination(Qt::CTRL, Qt::Key_M);
        QCOMPARE(!game.caption("lblMessage").isEmpty(), judged);
        if (!judged)
            QTest::keyClick(game.answerBox(), Qt::Key_Return);
        QCOMPARE(game.caption("lblMessage"), message);
        const bool right = message.startsWith(u"Esatto"_s);
        QCOMPARE(game.captions({"lblScore", "lblScore1", "lblScore2"}), (QStringList{right ? u"1"_s : u"0"_s, right ? u"0"_s : u"1"_s, u"1"_s}));
        // The answer stays on show, and the button takes over.
        QCOMPARE(game.answerBox()->text(), box);
        QCOMPARE(std::tuple(game.nextButton()->isEnabled(), QApplication::focusWidget()), std::tuple(true, game.nextButton()));
    }

    void everyEnterCountsAndTheButtonTakesTheKeys()
    {
        GameWindow game;
        game.start();
        game.answer(u"0"_s);
        QTest::keyClick(game.answerBox(), Qt::Key_Return); // the box still counts a second Enter
        QTest::keyClicks(QApplication::focusWidget(), u"77"_s); // the button has the keys now
        QCOMPARE(game.captions({"lblScore", "lblScore1", "lblScore2"}), (QStringList{u"0"_s, u"2"_s, u"2"_s}));
        QCOMPARE(game.answerBox()->text(), u"0"_s);
        // Enter or Space on the button asks for the next question.
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) {
            game.answer(u"0"_s);
            QTest::keyClick(QApplication::focusWidget(), key);
            QCOMPARE(std::tuple(game.answerBox()->text(), QApplication::focusWidget()), std::tuple(QString(), game.answerBox()));
        }
    }

    void aScreenReaderHearsTheQuestionAndTheJudgementAsTheFocusLands()
    {
        GameWindow game;
        // What the control that gets the focus tells a screen reader, read at
        // the moment the focus lands there, as a screen reader reads it.
        QStringList heard;
        QObject listening; // until the end of the test, before the window goes
        QObject::connect(qApp, &QApplication::focusChanged, &listening, [&](QWidget *, QWidget *now) {
            if (now == game.answerBox() || now == game.nextButton())
                heard << QAccessible::queryAccessibleInterface(now)->text(QAccessible::Description);
        });
        game.start().timer()->stop();
        const QString question = u", Il suo gomirlo per arrivare a 20 è"_s, first = game.caption("lblNum1");
        game.answer(u"0"_s);
        const QString judged = game.caption("lblMessage") + u", Risposte esatte 0, Risposte errate 1, Risposte totali 1, Tempo restante 00:05:00"_s;
        game.answerBox()->setAccessibleDescription(QString()); // the next question may show the same number
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(heard, QStringList({first + question, judged, game.caption("lblNum1") + question}));
    }

    void theKeyboardReachesTheBoxAndButtonsOnly()
    {
        GameWindow game;
        game.start();
        // Tab goes from cmdExit to cmdNext, skipped while it is disabled, to the box.
        for (const bool enabled : {false, true}) {
            game.nextButton()->setEnabled(enabled);
            game.exitButton()->setFocus();
            QTest::keyClick(game.exitButton(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), enabled ? static_cast<QWidget *>(game.nextButton()) : game.answerBox());
        }
        // Access keys press a button only while it is enabled: Alt+N asks for
        // a new question, which empties the box, only once the answer is judged.
        game.nextButton()->setEnabled(false);
        QTest::keyClicks(game.answerBox(), u"5"_s);
        QTest::keyClick(&game.window(), Qt::Key_N, Qt::AltModifier);
        QCOMPARE(game.answerBox()->text(), u"5"_s);
        QTest::keyClick(game.answerBox(), Qt::Key_Return);
        QTest::keyClick(&game.window(), Qt::Key_N, Qt::AltModifier);
        QTRY_COMPARE(game.answerBox()->text(), QString());
        QCOMPARE(game.endedBy([&] { QTest::keyClick(&game.window(), Qt::Key_X, Qt::AltModifier); }), 0);
    }

    void theButtonsShowTheirFaceAndPictureInEveryState()
    {
        GameWindow game;
        game.start();
        QToolButton *next = game.nextButton(), *exit = game.exitButton();
        // The layout gives cmdNext three different pictures.
        const QIcon pictures = next->icon();
        const QImage normal = pictures.pixmap(32, QIcon::Normal).toImage();
        QVERIFY(normal != pictures.pixmap(32, QIcon::Selected).toImage() && normal != pictures.pixmap(32, QIcon::Disabled).toImage());
        // Pictures of one plain colour each: the one on show is the colour
        // that fills a whole picture's worth of the button, on a flat face in
        // exactly the button's colour.
        const auto plain = [](Qt::GlobalColor colour) {
            QPixmap picture(32, 32);
            picture.fill(colour);
            return picture;
        };
        QIcon three(plain(Qt::red));
        three.addPixmap(plain(Qt::green), QIcon::Selected);
        three.addPixmap(plain(Qt::blue), QIcon::Disabled);
        next->setIcon(three);
        exit->setIcon(QIcon(plain(Qt::red))); // one picture, shown in every state
        const auto shows = [&](QToolButton *button, Qt::GlobalColor colour) {
            const QImage shown = game.shown().copy(QRect(button->mapTo(&game.window(), QPoint()), button->size()));
            int pixels = 0;
            for (int y = 0; y < shown.height(); ++y) {
                for (int x = 0; x < shown.width(); ++x)
                    pixels += shown.pixelColor(x, y) == colour;
            }
            return pixels >= 32 * 32 && shown.pixelColor(4, 4) == button->palette().color(QPalette::Button);
        };
        QVERIFY(shows(next, Qt::blue)); // while a question waits
        next->setEnabled(true);
        QVERIFY(shows(next, Qt::red));
        next->setDown(true);
        QVERIFY(shows(next, Qt::green));
        for (const bool down : {false, true}) {
            exit->setDown(down);
            QVERIFY(shows(exit, Qt::red));
        }
    }

    void anAutoSizedLabelGrowsFromItsCorner()
    {
        GameWindow game;
        auto *label = game.start().control<AutoSizeLabel>("lblnome");
        const QRect before = label->geometry();
        label->setCaption(u"Una riga molto più lunga della prima\r\n"_s);
        QCOMPARE(label->pos(), before.topLeft());
        QVERIFY(label->width() > before.width());
    }
};

QTEST_MAIN(WindowTest)
#include "test_window.moc"
