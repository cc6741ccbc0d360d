// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Painting the backdrop: 256 bands into the window's persistent picture, at
// the restored window's size and on two common screens; then on screen,
// beside the floor that any widget repainted whole sets on this machine.
#include "backdrop.h"
#include "benchsupport.h"

#include <QImage>
#include <QPainter>
#include <QTest>
#include <QWidget>

namespace {

// The bands painted last must be there, top and bottom, in the shade asked
// for, over the whole height.
bool picturePainted(const Backdrop &backdrop, int shade)
{
    const QImage &picture = backdrop.picture();
    if (picture.height() != backdrop.height())
        return false;
    const QRgb top = picture.pixel(picture.width() - 1, 0);
    const QRgb bottom = picture.pixel(0, picture.height() - 1);
    return top == qRgb(shade * 10, shade * 10, 0) && bottom == qRgb(shade * 10, shade * 10, 255);
}

// What the window shows: the bands from edge to edge.
bool screenPainted(Backdrop &backdrop, int shade)
{
    const QImage shown = backdrop.grab().toImage();
    const int level = shade * 10;
    return shown.pixelColor(0, 0) == QColor(level, level, 0)
        && shown.pixelColor(shown.width() - 1, 0) == QColor(level, level, 0)
        && shown.pixelColor(shown.width() - 1, shown.height() - 1) == QColor(level, level, 255);
}

// One question's painting, again and again, into a picture that already has
// the right size: the common case, every question after the first.
void paintBands(benchmark::State &state)
{
    Backdrop backdrop;
    backdrop.resize(int(state.range(0)), int(state.range(1)));
    int shade = 0;
    backdrop.paintBands(shade);
    for (auto _ : state) {
        shade = (shade + 1) % 15;
        backdrop.paintBands(shade);
        benchmark::ClobberMemory();
    }
    if (!picturePainted(backdrop, shade))
        state.SkipWithError("the picture does not hold the bands");
    state.counters["picture_bytes"] = double(backdrop.picture().sizeInBytes());
}

// The question after a wrong answer: the black background threw the picture
// away, so painting starts from a fresh one.
void paintBandsAfterWrongAnswer(benchmark::State &state)
{
    Backdrop backdrop;
    backdrop.resize(int(state.range(0)), int(state.range(1)));
    int shade = 0;
    for (auto _ : state) {
        state.PauseTiming();
        backdrop.setBackColour(Qt::black);
        shade = (shade + 1) % 15;
        state.ResumeTiming();
        backdrop.paintBands(shade);
        benchmark::ClobberMemory();
    }
    if (!picturePainted(backdrop, shade))
        state.SkipWithError("the picture does not hold the bands");
}

// The picture on screen: paintBands and the repaint of the whole shown area
// that it asks for, with nothing on top of it, into the backing store of the
// offscreen platform.
void paintBandsAndShow(benchmark::State &state)
{
    Backdrop backdrop;
    backdrop.setObjectName(QStringLiteral("backdrop"));
    backdrop.resize(int(state.range(0)), int(state.range(1)));
    backdrop.show();
    if (!QTest::qWaitForWindowExposed(&backdrop)) {
        state.SkipWithError("the backdrop never came on screen");
        return;
    }
    PaintCounter counter({&backdrop});
    int shade = 0;
    backdrop.paintBands(shade);
    deliverPendingEvents();
    counter.reset();
    for (auto _ : state) {
        shade = (shade + 1) % 15;
        backdrop.paintBands(shade);
        deliverPendingEvents();
    }
    const int paints = counter.paints(QStringLiteral("backdrop"));
    if (paints != state.iterations()) {
        const std::string why = "the backdrop was painted " + std::to_string(paints) + " times in "
            + std::to_string(state.iterations()) + " questions";
        state.SkipWithError(why.c_str());
    } else if (!screenPainted(backdrop, shade)) {
        state.SkipWithError("the window does not show the bands");
    }
}

// The floor for paintBandsAndShow: a widget that fills its whole area in one
// colour, repainted the same way.
class PlainWidget : public QWidget
{
public:
    int shade = 0;

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), QColor(shade * 10, shade * 10, 255)); }
};

void plainRepaint(benchmark::State &state)
{
    PlainWidget widget;
    widget.resize(int(state.range(0)), int(state.range(1)));
    widget.show();
    if (!QTest::qWaitForWindowExposed(&widget)) {
        state.SkipWithError("the widget never came on screen");
        return;
    }
    PaintCounter counter({&widget});
    for (auto _ : state) {
        widget.shade = (widget.shade + 1) % 15;
        widget.update();
        deliverPendingEvents();
    }
    if (counter.paints(QString()) != state.iterations())
        state.SkipWithError("the widget was not repainted at every iteration");
}

void sizes(benchmark::internal::Benchmark *benchmark)
{
    benchmark->ArgNames({"width", "height"});
    benchmark->Args({792, 554});
    benchmark->Args({1920, 1080});
    benchmark->Args({3840, 2160});
    benchmark->Unit(benchmark::kMicrosecond);
}

} // namespace

BENCHMARK(paintBands)->Apply(sizes);
BENCHMARK(paintBandsAfterWrongAnswer)->Apply(sizes);
BENCHMARK(paintBandsAndShow)->Apply(sizes);
BENCHMARK(plainRepaint)->Apply(sizes);

int main(int argc, char **argv)
{
    return runBenchmarks(argc, argv);
}
