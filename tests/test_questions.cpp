// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Questions and the backdrop behind them, read back from the real window.
#include "backdrop.h"
#include "gamewindow.h"

#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Points of the client area that no control covers: the top left corner, and
// a column at the right from below the answer box down to the bottom.
QPoint openGround(GameWindow &game, int y)
{
    return game.control<QWidget>("centralwidget")->mapTo(&game.window(), QPoint(y < 80 ? 100 : 785, y));
}

QColor pixel(GameWindow &game, int y)
{
    return game.window().grab().toImage().pixelColor(openGround(game, y));
}

// The backdrop alone, as the window paints it behind its controls.
QImage backdropOnly(QWidget *backdrop)
{
    QImage image(backdrop->size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    backdrop->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    return image;
}

} // namespace

class QuestionsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GameWindow> game;
    Backdrop *backdrop() { return game->control<Backdrop>("centralwidget"); }

private slots:
    void init()
    {
        game = std::make_unique<GameWindow>();
        game->start();
    }
    void cleanup() { game.reset(); }

    void everyQuestionIsOneToNineAndClearsTheBoard()
    {
        QSet<int> seen;
        for (int question = 0; question < 300; ++question) {
            const int shown = game->caption("lblNum1").toInt();
            QVERIFY2(shown >= 1 && shown <= 9, qPrintable(game->caption("lblNum1")));
            QCOMPARE(game->state().ExpectedAnswer, Int16(20 - shown));
            QCOMPARE(game->answerBox()->text(), QString());
            QCOMPARE(game->caption("lblMessage"), QString());
            QVERIFY(!game->nextButton()->isEnabled());
            QCOMPARE(QApplication::focusWidget(), game->answerBox());
            QVERIFY(game->state().Shade >= Int16(0) && game->state().Shade <= Int16(14));
            seen.insert(shown);
            // Leave something behind for the next question to clear.
            if (question % 2)
                game->answerRight();
            else
                game->answerWrong();
        }
        QCOMPARE(seen.size(), 9);
    }

    // Run in a fresh process by firstTintIsTheSameInEveryRun: prints the tint
    // of the first question of that process.
    void printFirstTint()
    {
        if (qEnvironmentVariableIsEmpty("GOMIRLO_PRINT_FIRST_TINT"))
            QSKIP("runs only as the child of firstTintIsTheSameInEveryRun");
        printf("tint=%d\n", game->state().Shade.value());
    }

    void firstTintIsTheSameInEveryRun()
    {
        QStringList tints;
        for (int run = 0; run < 2; ++run) {
            QProcess child;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(u"GOMIRLO_PRINT_FIRST_TINT"_s, u"1"_s);
            child.setProcessEnvironment(environment);
            child.start(QCoreApplication::applicationFilePath(), {u"printFirstTint"_s});
            QVERIFY(child.waitForFinished(60000));
            QCOMPARE(child.exitCode(), 0);
            const QString output = QString::fromLocal8Bit(child.readAllStandardOutput());
            const qsizetype at = output.indexOf(u"tint="_s);
            QVERIFY2(at >= 0, qPrintable(output));
            tints << output.mid(at, output.indexOf(u'\n', at) - at);
            QTest::qWait(20); // a different time of day for the second run
        }
        QCOMPARE(tints[0], tints[1]);
    }

    void bandsRunFromTheTintToFullBlue_data()
    {
        QTest::addColumn<int>("shade");
        QTest::newRow("tint 0: black to blue") << 0;
        QTest::newRow("tint 7") << 7;
        QTest::newRow("tint 14: olive to light blue") << 14;
    }
    void bandsRunFromTheTintToFullBlue()
    {
        QFETCH(int, shade);
        backdrop()->paintBands(shade);
        const int height = backdrop()->height();
        const int level = shade * 10;
        // Seen through the window, controls and all.
        QCOMPARE(pixel(*game, 0), QColor(level, level, 0));
        QCOMPARE(pixel(*game, height - 1), QColor(level, level, 255));

        const QImage bands = backdropOnly(backdrop());
        int previous = -1;
        for (int y = 0; y < height; y += 3) {
            const QColor colour = bands.pixelColor(y % bands.width(), y);
            QCOMPARE(colour.red(), level);
            QCOMPARE(colour.green(), level);
            QVERIFY(colour.blue() >= previous);
            // 256 bands share the height: row y lies in the last band that
            // starts at or above it.
            int band = 255;
            while (band * height / 256 > y)
                --band;
            QCOMPARE(colour.blue(), band);
            previous = colour.blue();
        }
        // Every band reaches the right edge.
        QCOMPARE(bands.pixelColor(bands.width() - 1, height / 2), bands.pixelColor(0, height / 2));
    }

    void eachQuestionPaintsItsOwnTint()
    {
        for (int question = 0; question < 5; ++question) {
            const int level = game->state().Shade.value() * 10;
            QCOMPARE(pixel(*game, 0), QColor(level, level, 0));
            game->answerRight();
        }
    }

    void aWrongAnswerBlackensTheWindowUntilTheNextQuestion()
    {
        game->answer(u"1"_s);
        QCOMPARE(pixel(*game, 0), QColor(Qt::black));
        QCOMPARE(pixel(*game, 400), QColor(Qt::black));
        game->nextButton()->click();
        const int next = game->state().Shade.value() * 10;
        QCOMPARE(pixel(*game, 0), QColor(next, next, 0));
        QVERIFY(pixel(*game, 400).blue() > 0);
    }

    void aRightAnswerLeavesTheBackdrop()
    {
        const QImage before = backdrop()->picture();
        const QColor top = pixel(*game, 0);
        game->answer(QString::number(game->state().ExpectedAnswer.value()));
        QCOMPARE(backdrop()->picture(), before);
        QCOMPARE(pixel(*game, 0), top);
    }

    void aResizeDoesNotRepaintTheBands()
    {
        const QImage before = backdrop()->picture();
        game->window().showNormal();
        game->window().setGeometry(QRect(0, 0, 900, 400));
        QTRY_VERIFY(backdrop()->height() < before.height());
        QCOMPARE(backdrop()->picture(), before);
        // What was painted stays where it was: the rows keep their bands
        // instead of being squeezed into the smaller height.
        const QImage after = backdropOnly(backdrop());
        QCOMPARE(after.pixelColor(0, 300), before.pixelColor(0, 300));
    }
};

QTEST_MAIN(QuestionsTest)
#include "test_questions.moc"
