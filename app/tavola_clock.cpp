// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The countdown: one second off the clock at every tick of Timer1.
#include "tavola.h"

#include "countdown.h"
#include "ui_tavola.h"

using namespace Qt::StringLiterals;

void Tavola::Timer1_Timer()
{
    // Read from the display, so the child sees 00:00:00 for a whole second;
    // behind an end already under way, a tick at zero starts no second one.
    if (m_ui->lblconto->text() == u"00:00:00"_s) {
        if (!m_endOfGameUnderWay)
            SaveRecordAndEnd();
        return;
    }

    countdownStep(m_state.ClockHours, m_state.ClockMinutes, m_state.ClockSeconds);
    m_ui->lblconto->setText(countdownText(m_state.ClockHours, m_state.ClockMinutes, m_state.ClockSeconds));
}
