// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The window as a person meets it: its size, focus order, access keys, labels
// and pictures.
#include "autosizelabel.h"
#include "gamewindow.h"

using namespace Qt::StringLiterals;

class WindowTest : public QObject
{
    Q_OBJECT

private slots:
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
