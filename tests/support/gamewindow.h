// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "recordfolder.h"
#include "scripteddialogs.h"
#include "tavola.h"

#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

#include <memory>

// The real game window with scripted prompts, a private record folder and an
// observable end: everything a test needs to play a game through the window.
class GameWindow
{
public:
    explicit GameWindow(const QString &playerName = QStringLiteral("Anna"));
    ~GameWindow();

    // Loads and shows the window, which runs the start-up, and waits until
    // the first question is on show.
    void start();

    Tavola &window() { return *m_window; }
    GameState &state() { return m_window->gameState(); }
    ScriptedDialogs dialogs;
    RecordingExit exit;
    RecordFolder records;

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
    QLineEdit *answerBox() const { return control<QLineEdit>("txtAnswer"); }
    QToolButton *nextButton() const { return control<QToolButton>("cmdNext"); }
    QToolButton *exitButton() const { return control<QToolButton>("cmdExit"); }
    QTimer *timer() const { return control<QTimer>("Timer1"); }

    // Whether the game reported exactly one run-time error, naming what, and
    // then ended with status 1; errorsShown() tells what it did instead.
    bool endedWithErrorNaming(const QString &what) const;
    QString errorsShown() const;

    // Types text into the answer box key by key, then presses Enter.
    void answer(const QString &typed);
    // Answers the question on show rightly (or wrongly), then asks for the next.
    void answerRight();
    void answerWrong();
    // Waits until the window is active again after a new race.
    void waitForQuestion();
    // One tick of Timer1, as the timer delivers it.
    void tick();
    // Deletes the controls that a new race threw away.
    static void settle();

private:
    std::unique_ptr<Tavola> m_window;
};
