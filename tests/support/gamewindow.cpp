// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "gamewindow.h"

#include <QCoreApplication>
#include <QTest>

GameWindow::GameWindow(const QString &playerName)
    : m_window(std::make_unique<Tavola>(dialogs, exit))
{
    dialogs.textAnswers << playerName;
}

GameWindow::~GameWindow()
{
    m_window.reset();
    settle();
}

void GameWindow::start()
{
    m_window->showGame();
    // A start-up that failed has ended the game instead of showing it.
    if (exit.status)
        return;
    if (!QTest::qWaitForWindowActive(m_window.get()))
        qFatal("the game window never became active");
    settle();
}

bool GameWindow::endedWithErrorNaming(const QString &what) const
{
    const QStringList errors = dialogs.texts(DialogCall::ReportError);
    return errors.size() == 1 && errors[0].contains(what) && exit.status == 1;
}

QString GameWindow::errorsShown() const
{
    return QStringLiteral("errors: [%1], exit status %2")
        .arg(dialogs.texts(DialogCall::ReportError).join(QStringLiteral(" | ")),
             exit.status ? QString::number(*exit.status) : QStringLiteral("none"));
}

void GameWindow::answer(const QString &typed)
{
    QTest::keyClicks(answerBox(), typed);
    QTest::keyClick(answerBox(), Qt::Key_Return);
}

void GameWindow::answerRight()
{
    answer(QString::number(state().ExpectedAnswer.value()));
    nextButton()->click();
}

void GameWindow::answerWrong()
{
    answer(QStringLiteral("0"));
    nextButton()->click();
}

void GameWindow::waitForQuestion()
{
    settle();
    if (!exit.status && !QTest::qWaitForWindowActive(m_window.get()))
        qFatal("the game window did not come back");
}

void GameWindow::tick()
{
    // Timer1's own signal, delivered as the timer would deliver it.
    QMetaObject::invokeMethod(timer(), "timeout", Qt::DirectConnection);
}

void GameWindow::settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
