// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gamestate.h"

#include <QMainWindow>

#include <cstdint>
#include <memory>

class Backdrop;
class CuePlayer;
class QTimer;
class RuntimeError;
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

    explicit Tavola(QWidget *parent = nullptr);
    ~Tavola() override;

    // Loads the window if it is not loaded, which runs the start-up with its
    // prompts, then shows it maximized. Its activation brings the question.
    void showGame();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
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

    // Runs one handler to completion; a run-time error is reported, and ends
    // the program.
    template<typename Handler>
    void runHandler(Handler handler);
    [[noreturn]] void reportAndQuit(const RuntimeError &error);

    std::unique_ptr<Ui::Tavola> m_ui; // the controls; empty while unloaded
    QTimer *m_timer = nullptr; // Timer1, owned by the controls
    std::unique_ptr<CuePlayer> m_cues; // made by the first cue
    GameState m_state;
    bool m_activationPending = false; // shown, question not yet asked
    bool m_endOfGameUnderWay = false; // by the exit button or the time; it ends the program
};
