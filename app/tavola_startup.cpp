// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The start-up that runs each time the window is loaded: the name, the
// greeting, the clock, and the stored record.
#include "tavola.h"

#include "countdown.h"
#include "dialogs.h"
#include "recordstore.h"
#include "ui_tavola.h"

#include <QTimer>

using namespace Qt::StringLiterals;

void Tavola::Form_Load()
{
    m_state.CorrectCount = 0;
    m_state.WrongCount = 0;
    // The clock must not run while the child is still typing a name.
    m_timer->stop();

    m_state.PlayerName = Dialogs::askText(u"Come ti chiami?"_s, AppTitle);
    Dialogs::inform(u" "_s + m_state.PlayerName + u" vediamo se sei un vero campione  "_s, AppTitle);
    m_ui->lblnome1->setCaption(m_state.PlayerName);

    StartCountdown();

    // The record folder, made ready under its lock, and the record it holds.
    const RecordStore::Record record = RecordStore::open();
    m_state.WinDir = record.folder;
    m_ui->lblpunti->setCaption(record.score);
    m_ui->lblnome->setCaption(record.name);

    m_ui->lblconto->setText(countdownText(m_state.ClockHours, m_state.ClockMinutes, m_state.ClockSeconds));
}

void Tavola::StartCountdown()
{
    m_timer->start();
    // A game lasts five minutes.
    m_state.ClockHours = 0;
    m_state.ClockMinutes = 5;
    m_state.ClockSeconds = 0;
}
