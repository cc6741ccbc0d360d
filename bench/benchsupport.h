// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QList>
#include <QObject>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <time.h>

class QWidget;

// The screen the benchmarks run on: a common classroom monitor, so that the
// maximized game window is as large as a child would see it.
inline constexpr int ScreenWidth = 1920;
inline constexpr int ScreenHeight = 1080;

// Runs the benchmarks registered in this program inside a QApplication on the
// offscreen platform with one ScreenWidth × ScreenHeight screen, unless
// QT_QPA_PLATFORM names another platform.
int runBenchmarks(int argc, char **argv);

// Does what the event loop would do next: delivers every posted event, among
// them the window's pending repaint, which paints the changed controls into
// the window's backing store and flushes it to the platform.
void deliverPendingEvents();

// Counts the paint events that widgets receive, by object name, so that a
// benchmark can show that the repaint it claims to time really happened. It
// watches the widgets given, or every object of the program when none is.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(const QList<QWidget *> &watched = {});
    ~PaintCounter() override;
    int paints(const QString &objectName) const { return m_paints.value(objectName); }
    void reset() { m_paints.clear(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<QObject *> m_watched;
    QHash<QString, int> m_paints;
};

// Times one stretch of work for a benchmark that uses manual time (wall
// clock). It keeps the slowest iteration as the counter "worst_us", since a
// key must be answered within a frame every time, not on average, and the
// processor time of this thread as "cpu_us" per iteration: on a machine shared
// with other work the wall time also holds the time other processes ran.
class IterationClock
{
public:
    explicit IterationClock(benchmark::State &state)
        : m_state(state)
    {
    }
    ~IterationClock()
    {
        m_state.counters["worst_us"] = benchmark::Counter(m_worst * 1e6);
        m_state.counters["cpu_us"] = benchmark::Counter(m_cpu * 1e6, benchmark::Counter::kAvgIterations);
    }
    void start()
    {
        m_cpuStart = threadCpuSeconds();
        m_start = std::chrono::steady_clock::now();
    }
    void stop()
    {
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
        m_cpu += threadCpuSeconds() - m_cpuStart;
        m_worst = std::max(m_worst, seconds);
        m_state.SetIterationTime(seconds);
    }

private:
    static double threadCpuSeconds()
    {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
    }

    benchmark::State &m_state;
    std::chrono::steady_clock::time_point m_start;
    double m_cpuStart = 0;
    double m_cpu = 0;
    double m_worst = 0;
};
