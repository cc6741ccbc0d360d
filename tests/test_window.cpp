// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The window as a person meets it: its size, focus order, access keys, labels
// and pictures.
#include "autosizelabel.h"
#include "gamewindow.h"


using namespace Qt::StringLiterals;

namespace {

// Whether the button shows the picture its icon has for mode, pixel for pixel
// where the picture is opaque, somewhere on the button as last painted.
bool showsPicture(GameWindow &game, QToolButton *button, QIcon::Mode mode)
{
    const QImage shown = game.shown();
    const QImage picture = button->icon().pixmap(QSize(32, 32), mode).toImage().convertToFormat(QImage::Format_ARGB32);
    const QRect corners(button->mapTo(&game.window(), QPoint()), button->size() - QSize(31, 31));
    for (int top = corners.top(); top <= corners.bottom(); ++top) {
        for (int left = corners.left(); left <= corners.right(); ++left) {
            bool same = true;
            for (int i = 0; same && i < 32 * 32; ++i) {
                const QRgb pixel = picture.pixel(i % 32, i / 32);
                same = qAlpha(pixel) < 255 || shown.pixel(left + i % 32, top + i / 32) == pixel;
            }
            if (same)
                return true;
        }
    }
    return false;
}

} // namespace

class WindowTest : public QObject
{
    Q_OBJECT

private slots:
    void restoredTheWindowCutsTheAnswerBoxOff()
    {
        GameWindow game;
        Tavola &window = game.start().window();
        // The offscreen platform does not move a window back to its normal
        // geometry by itself, as a window manager does.
        const QRect normal = window.normalGeometry();
        window.showNormal();
        window.setGeometry(normal);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(game.control<QWidget>("centralwidget")->size(), QSize(792, 554));
        QVERIFY(game.answerBox()->geometry().right() > 792);
    }

    void theKeyboardReachesTheBoxAndButtonsOnly()
    {
        GameWindow game;
        game.start();
        for (QLabel *label : game.window().findChildren<QLabel *>())
            QCOMPARE(label->focusPolicy(), Qt::NoFocus);
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
        QTest::keyClick(&game.window(), Qt::Key_X, Qt::AltModifier);
        QTRY_COMPARE(game.exit.status, 0);
    }

    void theButtonsShowTheirFaceAndPictureInEveryState()
    {
        GameWindow game;
        game.start();
        QToolButton *next = game.nextButton(), *exit = game.exitButton();
        // A flat face in exactly the button's colour, inside its edges.
        const auto face = [&](QToolButton *button) { return game.onScreen(button->geometry().topLeft() + QPoint(4, 4)); };
        QVERIFY(face(next) == QColor(0, 192, 192) && showsPicture(game, next, QIcon::Disabled)); // while a question waits
        next->setEnabled(true);
        QVERIFY(face(next) == QColor(0, 192, 192) && showsPicture(game, next, QIcon::Normal));
        next->setDown(true);
        QVERIFY(face(next) == QColor(0, 192, 192) && showsPicture(game, next, QIcon::Selected));
        // The exit button has one picture, shown unchanged in every state.
        for (const bool down : {false, true}) {
            exit->setDown(down);
            QVERIFY(face(exit) == QColor(192, 0, 192) && showsPicture(game, exit, QIcon::Normal));
        }
        // Three pictures, each at 32 and 16 pixels; the window and Image1 one of 32.
        const QList<QImage> pictures{next->icon().pixmap(32, QIcon::Normal).toImage(), next->icon().pixmap(32, QIcon::Selected).toImage(), next->icon().pixmap(32, QIcon::Disabled).toImage()};
        QVERIFY(pictures[0] != pictures[1] && pictures[0] != pictures[2] && pictures[1] != pictures[2]);
        QVERIFY(next->icon().availableSizes().contains(QSize(16, 16)));
        QCOMPARE(std::tuple(game.window().windowIcon().availableSizes(), game.control<QLabel>("Image1")->pixmap().size()), std::tuple(QList<QSize>{{32, 32}}, QSize(32, 32)));
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
