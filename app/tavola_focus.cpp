// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Where the keyboard focus goes after a question and after a judgement, and
// what a screen reader says as it lands there.
#include "tavola.h"

#include "ui_tavola.h"

using namespace Qt::StringLiterals;

void Tavola::moveFocusTo(QWidget *control)
{
    // A screen reader speaks a control's description as the focus lands on it,
    // and not a label's new caption: what the child must hear goes there first.
    QStringList news;
    if (control == m_ui->txtAnswer) {
        news << m_ui->lblNum1->text() << m_ui->Label2->text();
    } else {
        news << m_ui->lblMessage->text();
        const std::pair<QLabel *, QLabel *> figures[] = {{m_ui->Label6, m_ui->lblScore}, {m_ui->Label1, m_ui->lblScore1}, {m_ui->Label3, m_ui->lblScore2}, {m_ui->Label11, m_ui->lblconto}};
        for (const auto &[heading, figure] : figures)
            news << heading->text() + u' ' + figure->text();
    }
    control->setAccessibleDescription(news.join(u", "_s));
    control->setFocus();
}
