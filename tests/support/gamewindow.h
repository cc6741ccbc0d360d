// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogrobot.h"
#include "recordfolder.h"
#include "tavola.h"

#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

#include <sys/wait.h>
#include <unistd.h>

// The real game window with its real prompts answered by a robot, and a
// private record folder: everything a test needs to play a game through the
// window.
class GameWindow
{
public:
    DialogRobot dialogs;
    RecordFolder records;

    explicit GameWindow(const QString &playerName = QStringLiteral("Anna"))
        : m_window(std::make_unique<Tavola>())
    {
        dialogs.textAnswers << playerName;
    }
    ~GameWindow()
    {
        m_window.reset();
        settle();
    }

    // Loads and shows the window, which runs the start-up, and waits until
    // the first question is on show.
    GameWindow &start()
    {
        m_window->showGame();
        waitForQuestion();
        return *this;
    }
    // Waits until the window is up again, as after a new race.
    void waitForQuestion()
    {
        settle();
        if (!QTest::qWaitForWindowActive(m_window.get()))
            qFatal("the game window never became active");
    }
    // Deletes the controls that a new race threw away.
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    // Does what ends the game (Exit, the last tick) in a copy of this process,
    // which the game ends as it ends itself, and watches it from outside as a
    // desktop would: its exit status, -1 if it did not end, -2 if a check
    // failed in it. What it showed joins dialogs.calls.
    int endedBy(const std::function<void()> &end)
    {
        int channel[2];
        if (::pipe(channel) != 0)
            qFatal("no pipe");
        const pid_t copy = ::fork();
        if (copy == 0) {
            ::close(channel[0]);
            dialogs.copyReportsTo = channel[1];
            end();
            QTest::qWait(5000);
            ::_exit(255);
        }
        ::close(channel[1]);
        QFile reports;
        reports.open(channel[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
        const bool failed = dialogs.takeReports(reports.readAll());
        int status = 0;
        ::waitpid(copy, &status, 0);
        return failed ? -2 : WIFEXITED(status) && WEXITSTATUS(status) != 255 ? WEXITSTATUS(status)
                                                                             : -1;
    }

    Tavola &window() { return *m_window; }
    // The number on show, and the answer it asks for.
    int rightAnswer() const { return 20 - caption("lblNum1").toInt(); }

    // Controls by their names, looked up afresh: a new race replaces them.
    template<typename Control = QLabel>
    Control *control(const char *name) const
    {
        auto *found = m_window->findChild<Control *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    QString caption(const char *name) const { return control<QLabel>(name)->text(); }
    QStringList captions(std::initializer_list<const char *> names) const
    {
        QStringList texts;
        for (const char *name : names)
            texts << caption(name);
        return texts;
    }
    QLineEdit *answerBox() const { return control<QLineEdit>("txtAnswer"); }
    QToolButton *nextButton() const { return control<QToolButton>("cmdNext"); }
    QToolButton *exitButton() const { return control<QToolButton>("cmdExit"); }
    QTimer *timer() const { return control<QTimer>("Timer1"); }
    // The messages shown, the report of a run-time error among them.
    QStringList messages() const
    {
        QStringList texts;
        for (const DialogCall &call : dialogs.calls) {
            if (call.kind == DialogCall::Inform)
                texts << call.text;
        }
        return texts;
    }

    // Types text into the answer box key by key, then presses Enter.
    void answer(const QString &typed)
    {
        QTest::keyClicks(answerBox(), typed);
        QTest::keyClick(answerBox(), Qt::Key_Return);
    }
    // Ticks of Timer1, as the timer delivers them.
    void tick(int count = 1)
    {
        for (int i = 0; i < count; ++i)
            QMetaObject::invokeMethod(timer(), "timeout", Qt::DirectConnection);
    }

    // The window on screen as it last painted itself: no repaint is forced,
    // so a change the window never painted does not show. (The event loop's
    // next step is done first: the window's pending repaint is among the
    // posted events.)
    QImage shown()
    {
        QCoreApplication::sendPostedEvents();
        return m_window->screen()->grabWindow(m_window->winId()).toImage();
    }
    // The colour shown at a point of the client area.
    QColor onScreen(QPoint point) { return shown().pixelColor(control<QWidget>("centralwidget")->mapTo(m_window.get(), point)); }

private:
    std::unique_ptr<Tavola> m_window;
};
