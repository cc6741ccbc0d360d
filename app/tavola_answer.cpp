// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Typing into the answer box, and judging the answer on Enter.
#include "tavola.h"

#include "backdrop.h"
#include "cuefiles.h"
#include "cueplayer.h"
#include "numbers.h"
#include "scoring.h"
#include "ui_tavola.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

void Tavola::txtAnswer_KeyPress(std::int16_t &KeyAscii)
{
    switch (classifyKey(KeyAscii)) {
    case KeyAction::Pass:
        return;
    case KeyAction::Cancel:
        KeyAscii = 0;
        return;
    case KeyAction::Judge:
        break;
    }

    // The cues lie beside the program, wherever it was started from.
    const QString cues = QCoreApplication::applicationDirPath() + u'/' + CueFiles::Folder + u'/';
    if (isRightAnswer(m_ui->txtAnswer->text(), m_state.ExpectedAnswer)) {
        m_state.CorrectCount += 1;
        m_ui->lblMessage->setText(u"Esatto! "_s + m_state.PlayerName + u" Sei forte!"_s);
        PlayWave(cues + CueFiles::RightAnswer);
    } else {
        m_state.WrongCount += 1;
        m_ui->lblMessage->setText(u"Sbagliato!! "_s + formatWhole(m_state.ExpectedAnswer.value()));
        PlayWave(cues + CueFiles::WrongAnswer);
        backdrop()->setBackColour(Qt::black);
        m_ui->lblScore1->setCaption(formatWhole(m_state.WrongCount.value()));
    }
    m_ui->lblScore->setCaption(formatWhole(m_state.CorrectCount.value()));
    m_ui->lblScore2->setCaption(formatWhole((m_state.WrongCount + m_state.CorrectCount).value()));
    m_ui->cmdNext->setEnabled(true);
    moveFocusTo(m_ui->cmdNext);
}

void Tavola::PlayWave(const QString &path)
{
    if (!m_cues)
        m_cues = std::make_unique<CuePlayer>();
    m_cues->play(path);
}
