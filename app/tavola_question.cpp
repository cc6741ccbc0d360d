// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A new question over a freshly painted backdrop.
#include "tavola.h"

#include "backdrop.h"
#include "numbers.h"
#include "randomgenerator.h"
#include "ui_tavola.h"

#include <QTime>

namespace {

// One generator for the whole program, in the same state at every start.
RandomGenerator &programRandom()
{
    static RandomGenerator generator;
    return generator;
}

double secondsSinceMidnight()
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

} // namespace

void Tavola::Form_Activate()
{
    cmdNext_Click();
}

void Tavola::cmdNext_Click()
{
    RandomGenerator &random = programRandom();
    // The tint comes from the sequence of the previous question, before the
    // generator is seeded again; so the first tint of every run is the same.
    m_state.Shade = Int16::checked(random.drawBelow(15));
    m_ui->lblMessage->setText(QString());
    random.reseed(secondsSinceMidnight());

    int shown = 0;
    while (shown == 0)
        shown = random.drawBelow(10);
    m_ui->lblNum1->setCaption(formatWhole(shown));
    m_state.ExpectedAnswer = Int16(20) - Int16::checked(shown);

    // The box takes the focus before the button, disabled, would hand it on,
    // and is emptied after: else a screen reader hears only a text change.
    moveFocusTo(m_ui->txtAnswer);
    m_ui->txtAnswer->setText(QString());
    m_ui->cmdNext->setEnabled(false);

    backdrop()->paintBands(m_state.Shade.value());
}
