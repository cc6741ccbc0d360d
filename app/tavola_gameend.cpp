// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The end of a game, by the exit button or by the time running out: a score
// that beats the record is saved, and the program ends.
#include "tavola.h"

#include "dialogs.h"
#include "programexit.h"
#include "recordstore.h"
#include "scoring.h"
#include "ui_tavola.h"

using namespace Qt::StringLiterals;

void Tavola::cmdExit_Click()
{
    m_endOfGameUnderWay = true;
    checkRecordAndEnd();
}

void Tavola::SaveRecordAndEnd()
{
    m_endOfGameUnderWay = true;
    Dialogs::inform(u"Ciao, alla prossima sfida. "_s, AppTitle);
    checkRecordAndEnd();
}

void Tavola::checkRecordAndEnd()
{
    // Both values come from what the window shows. The save compares again
    // with the record on disk, which another copy of the game may have raised
    // since this one started; a score that no longer beats it is not saved.
    const QString score = m_ui->lblScore->text();
    const auto beats = [&score](const QString &record) { return beatsRecord(record, score); };
    if (!beats(m_ui->lblpunti->text()))
        quitImmediately(0);

    m_state.RecordLine = m_ui->lblnome1->text();
    if (!RecordStore::writeRecord(m_state.WinDir, score, m_state.RecordLine, beats))
        quitImmediately(0);
    Dialogs::inform(u"Ok! Ho registrato il tuo record, C A M P I O N E"_s, AppTitle);
    quitImmediately(0);
}
