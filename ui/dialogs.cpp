// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs.h"

#include "modalrun.h"

#include <QInputDialog>
#include <QMessageBox>

namespace {

// Texts carry names the child typed; shown as plain text, a name such as
// "<b>Ugo" stays the name it is.
int showMessage(QMessageBox::Icon icon, const QString &text, const QString &title, QMessageBox::StandardButtons buttons,
                QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, title, text, buttons);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    return runModal(box);
}

} // namespace

namespace Dialogs {

QString askText(const QString &prompt, const QString &title)
{
    QInputDialog dialog;
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setInputMode(QInputDialog::TextInput);
    return runModal(dialog) == QDialog::Accepted ? dialog.textValue() : QString();
}

void inform(const QString &text, const QString &title)
{
    showMessage(QMessageBox::NoIcon, text, title, QMessageBox::Ok, QMessageBox::Ok);
}

bool askYesNo(const QString &text, const QString &title)
{
    return showMessage(QMessageBox::Question, text, title, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

} // namespace Dialogs
