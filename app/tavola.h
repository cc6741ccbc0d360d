// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gamestate.h"

#include <QMainWindow>

#include <cstdint>
#include <memory>

class Backdrop;
class CuePlayer;
class ProgramExit;
class QTimer;
namespace Ui {
class Tavola;
}

// The game's one window. Its handlers carry the names of the control and the
// event they answer; its controls are described in tavola.ui and carry the
// names the handlers use. The controls come and go with each race (a new race
// unloads the window and loads it again); the game state stays with the
// window object.
class Tavola : public QMainWindow
{
    Q_OBJECT
public:
    // The title of every prompt and message that has none of its own.
    static inline const QString AppTitle = QStringLiteral("Gomirlo");
    // The client area in the normal (restored) state, in pixels at 96 DPI.
    static constexpr QSize ClientSize{792, 554};

    Tavola(ProgramExit &exit, QWidget *parent = nullptr);
    ~Tavola() override;

    // Loads the window if it is not loaded, which runs the start-up with its
    // prompts, then shows it maximized. Its activation brings the question.
    void showGame();

    GameState &gameState() { return m_state; }
    const GameState &gameState() const { return m_state; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // Thrown to leave every running handler once the program has ended, so
    // that no later step of any of them runs.
    struct ProgramEnded {
    };

    // Handlers
    void Form_Load();
    void Form_Activate();
    void Form_Resize();
    void cmdNext_Click();
    void txtAnswer_KeyPress(std::int16_t &KeyAscii);
    void Timer1_Timer();
    void cmdExit_Click();
    void Next_Click();

    // Procedures
    void StartCountdown();
    [[noreturn]] void SaveRecordAndEnd();
    [[noreturn]] void checkRecordAndEnd();
    void PlayWave(const QString &path);
    void moveFocusTo(QWidget *control);

    // The window's life: building the controls from the layout, throwing them
    // away, and showing the window.
    void load();
    void unload();
    void loadAndShow();
    void activateIfOnScreen();
    Backdrop *backdrop() const;
    void stopClock();

    // Runs one handler to completion. A run-time error is reported and ends the
    // program; after the end nothing runs at all.
    template<typename Handler>
    void handle(Handler handler);
    void fail(const class RuntimeError &error);
    void finish(int status);
    [[noreturn]] void endProgram(int status);

    // The prompts; if the program ended while one was open, the handler that
    // asked goes no further.
    QString askText(const QString &prompt, const QString &title = AppTitle);
    void inform(const QString &text, const QString &title = AppTitle);
    bool askYesNo(const QString &text, const QString &title);
    void throwIfEnded() const;

    ProgramExit &m_exit;
    std::unique_ptr<Ui::Tavola> m_ui; // the controls; empty while unloaded
    QTimer *m_timer = nullptr; // Timer1, owned by the controls
    CuePlayer *m_cues = nullptr; // made by the first cue
    GameState m_state;
    bool m_activationPending = false; // shown, question not yet asked
    bool m_endOfGameUnderWay = false; // by the exit button or the time; it ends the program
    bool m_ended = false;
};
