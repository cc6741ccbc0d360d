// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The five-minute countdown, tick by tick, through the window's own timer.
#include "gamewindow.h"

#include <QTest>

using namespace Qt::StringLiterals;

class ClockTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GameWindow> game;

    void ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            game->tick();
    }

private slots:
    void init()
    {
        game = std::make_unique<GameWindow>();
        game->start();
        // The test delivers every tick itself; the real second must not add one.
        game->timer()->stop();
    }
    void cleanup() { game.reset(); }

    void countsDownOneSecondPerTick_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("display");
        QTest::newRow("start") << 0 << u"00:05:00"_s;
        QTest::newRow("first tick borrows a minute") << 1 << u"00:04:59"_s;
        QTest::newRow("a minute") << 60 << u"00:04:00"_s;
        QTest::newRow("and one") << 61 << u"00:03:59"_s;
        QTest::newRow("last second") << 299 << u"00:00:01"_s;
        QTest::newRow("zero") << 300 << u"00:00:00"_s;
    }
    void countsDownOneSecondPerTick()
    {
        QFETCH(int, count);
        QFETCH(QString, display);
        ticks(count);
        QCOMPARE(game->caption("lblconto"), display);
        QVERIFY(!game->exit.status);
        QVERIFY(game->dialogs.texts(DialogCall::Inform).size() == 1); // the greeting only
    }

    void the301stTickEndsTheGame()
    {
        ticks(300);
        game->tick();
        QCOMPARE(game->dialogs.texts(DialogCall::Inform).last(), u"Ciao, alla prossima sfida. "_s);
        QCOMPARE(game->exit.status, 0);
        // The clock fields stay where they were.
        QCOMPARE(game->state().ClockHours, Int16(0));
        QCOMPARE(game->state().ClockMinutes, Int16(0));
        QCOMPARE(game->state().ClockSeconds, 0.0f);
        QCOMPARE(game->caption("lblconto"), u"00:00:00"_s);
    }

    void anHourBorrowsToo()
    {
        game->state().ClockHours = 1;
        game->state().ClockMinutes = 0;
        game->state().ClockSeconds = 0;
        game->tick();
        QCOMPARE(game->caption("lblconto"), u"00:59:59"_s);
    }

    void theEndIsReadFromTheDisplay()
    {
        game->state().ClockMinutes = 0;
        game->state().ClockSeconds = 1;
        game->control<QLabel>("lblconto")->setText(u"00:00:01"_s);
        game->tick();
        QCOMPARE(game->caption("lblconto"), u"00:00:00"_s);
        QVERIFY(!game->exit.status);
        game->tick();
        QCOMPARE(game->exit.status, 0);

        // Fields at zero with another display do not end the game.
        GameWindow other;
        other.start();
        other.timer()->stop();
        other.state().ClockMinutes = 0;
        other.control<QLabel>("lblconto")->setText(u"00:00:0"_s);
        other.tick();
        QVERIFY(!other.exit.status);
    }

    void theRealTimerTicksOnceASecond()
    {
        game->timer()->start();
        QTRY_COMPARE_WITH_TIMEOUT(game->caption("lblconto"), u"00:04:59"_s, 2500);
    }
};

QTEST_MAIN(ClockTest)
#include "test_clock.moc"
