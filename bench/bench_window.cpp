// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The game window as the child uses it, maximized on a 1920 × 1080 screen,
// with its real prompts, answered at once: a new question, judging an
// answer, a clock tick and a new race. Each figure runs from the user's event to the window repainted:
// the handler, then every event it posted (the repaint among them), as the
// event loop would deliver them next.
#include "backdrop.h"
#include "benchsupport.h"
#include "gamewindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// A started game, with the size of its backdrop as the benchmark's label.
std::unique_ptr<GameWindow> startedGame(benchmark::State &state)
{
    auto game = std::make_unique<GameWindow>();
    game->start();
    const QSize size = game->control<Backdrop>("centralwidget")->size();
    state.SetLabel(u"backdrop %1x%2"_s.arg(size.width()).arg(size.height()).toStdString());
    return game;
}

void typeAnswer(GameWindow &game, bool right)
{
    const QString typed = right ? QString::number(game.rightAnswer()) : u"0"_s;
    QTest::keyClicks(game.answerBox(), typed);
    deliverPendingEvents();
}

// cmdNext_Click through a click on the button, backdrop included, until the
// window shows the new question. The answer before it, right or wrong as the
// argument says, is given untimed; after a wrong one the backdrop starts from
// a black window with no picture.
void question(benchmark::State &state)
{
    const bool afterRightAnswer = state.range(0) != 0;
    auto game = startedGame(state);
    auto *backdrop = game->control<Backdrop>("centralwidget");
    PaintCounter counter({backdrop, game->control("lblNum1")});
    IterationClock clock(state);
    for (auto _ : state) {
        typeAnswer(*game, afterRightAnswer);
        QTest::keyClick(game->answerBox(), Qt::Key_Return);
        deliverPendingEvents();
        counter.reset();
        const QString shownBefore = game->caption("lblNum1");

        clock.start();
        QTest::mouseClick(game->nextButton(), Qt::LeftButton);
        deliverPendingEvents();
        clock.stop();

        // lblNum1 is opaque: it is repainted when its number changes, not
        // when the backdrop beneath it does.
        const bool numberShown = game->caption("lblNum1") == shownBefore || counter.paints(u"lblNum1"_s) > 0;
        if (game->nextButton()->isEnabled() || backdrop->picture().isNull() || counter.paints(u"centralwidget"_s) == 0
            || !numberShown) {
            state.SkipWithError("no new question on show");
            break;
        }
    }
}

// Judging an answer end to end: the Return key into txtAnswer, through the
// key filter and the judging, the cue started, the labels set, until the
// window has repainted. The question and the typed digits come before, untimed.
void answer(benchmark::State &state)
{
    const bool right = state.range(0) != 0;
    auto game = startedGame(state);
    PaintCounter counter({game->control("lblMessage"), game->control("lblScore2"), game->nextButton()});
    // The first cue of the program starts the audio back end; that one is
    // timed on its own below.
    typeAnswer(*game, right);
    QTest::keyClick(game->answerBox(), Qt::Key_Return);
    deliverPendingEvents();

    IterationClock clock(state);
    for (auto _ : state) {
        game->nextButton()->click();
        deliverPendingEvents();
        typeAnswer(*game, right);
        counter.reset();

        clock.start();
        QTest::keyClick(game->answerBox(), Qt::Key_Return);
        deliverPendingEvents();
        clock.stop();

        const QString shown = game->caption("lblMessage");
        if (!shown.startsWith(right ? u"Esatto!"_s : u"Sbagliato!!"_s) || counter.paints(u"lblMessage"_s) == 0
            || counter.paints(u"lblScore2"_s) == 0 || counter.paints(u"cmdNext"_s) == 0) {
            state.SkipWithError("the answer was not judged and shown");
            break;
        }
    }
}

// The first answer in the life of the program, which also creates the cue
// player and starts the audio back end. It happens once per process, so each
// repetition of this benchmark is one sample, and only the first repetition
// of a run is truly the first.
void firstAnswerOfProgram(benchmark::State &state)
{
    auto game = startedGame(state);
    IterationClock clock(state);
    for (auto _ : state) {
        typeAnswer(*game, true);
        clock.start();
        QTest::keyClick(game->answerBox(), Qt::Key_Return);
        deliverPendingEvents();
        clock.stop();
        if (!game->caption("lblMessage").startsWith(u"Esatto!"_s))
            state.SkipWithError("the answer was not judged");
    }
}

// One tick of Timer1, delivered as the timer delivers it, and the repaint of
// lblconto (with the backdrop beneath it, since the label is transparent).
void tick(benchmark::State &state)
{
    auto game = startedGame(state);
    PaintCounter counter({game->control("lblconto")});
    IterationClock clock(state);
    for (auto _ : state) {
        const QString before = game->caption("lblconto");
        counter.reset();

        clock.start();
        game->tick();
        deliverPendingEvents();
        clock.stop();

        if (game->caption("lblconto") == before || counter.paints(u"lblconto"_s) != 1) {
            state.SkipWithError("the clock did not move on screen");
            break;
        }
    }
}

// A new race: the menu entry "nuovo" with Yes, a table limit and the name
// given at once to the real prompts; the controls are destroyed and built again from the layout, the
// start-up runs, the window is shown, the first question is painted and the
// old controls are deleted. The counter handler_us is the part until
// Next_Click returns (unload, load, show).
void newRace(benchmark::State &state)
{
    auto game = startedGame(state);
    IterationClock clock(state);
    double handlerSeconds = 0;
    PaintCounter counter;
    for (auto _ : state) {
        game->dialogs.yesNoAnswers << true;
        game->dialogs.textAnswers << u"10"_s << u"Anna"_s;
        auto *next = game->window().findChild<QAction *>(u"Next"_s);
        const QWidget *oldAnswerBox = game->answerBox();
        counter.reset();

        clock.start();
        QElapsedTimer handler;
        handler.start();
        next->trigger();
        handlerSeconds += handler.nsecsElapsed() / 1e9;
        // The window comes on screen again through the platform, and only
        // then are the question and the backdrop painted.
        QElapsedTimer patience;
        patience.start();
        while ((game->caption("lblNum1").isEmpty() || counter.paints(u"centralwidget"_s) == 0)
               && patience.elapsed() < 5000)
            QCoreApplication::processEvents();
        deliverPendingEvents();
        GameWindow::settle();
        clock.stop();

        if (game->answerBox() == oldAnswerBox || game->caption("lblNum1").isEmpty()
            || counter.paints(u"centralwidget"_s) == 0 || game->caption("lblconto") != u"00:05:00"_s) {
            state.SkipWithError("the new race did not come up");
            break;
        }
    }
    state.counters["handler_us"] = benchmark::Counter(handlerSeconds * 1e6, benchmark::Counter::kAvgIterations);
}

void latency(benchmark::internal::Benchmark *benchmark)
{
    benchmark->UseManualTime()->Unit(benchmark::kMicrosecond)->Repetitions(5)->DisplayAggregatesOnly();
}

} // namespace

// First, while the audio back end has not been started by anything else.
BENCHMARK(firstAnswerOfProgram)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(1)->Repetitions(3);
BENCHMARK(question)->ArgName("afterRightAnswer")->Arg(1)->Arg(0)->Iterations(200)->Apply(latency);
BENCHMARK(answer)->ArgName("right")->Arg(1)->Arg(0)->Iterations(200)->Apply(latency);
// A game's clock reaches zero after 300 ticks; each repetition starts a new one.
BENCHMARK(tick)->Iterations(290)->Apply(latency);
BENCHMARK(newRace)->Iterations(30)->Apply(latency);

int main(int argc, char **argv)
{
    return runBenchmarks(argc, argv);
}
