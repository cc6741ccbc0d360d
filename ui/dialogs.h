// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Everything the game asks of the person in front of it goes through here: the
// window never builds a message box itself, so tests can answer the prompts and
// read every text exactly as it would be shown.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // A text-input prompt with OK and Cancel and an empty field. Cancel gives
    // the empty text, like OK on an empty field.
    virtual QString askText(const QString &prompt, const QString &title) = 0;
    // A message with an OK button only and no icon.
    virtual void inform(const QString &text, const QString &title) = 0;
    // Yes and No, with the question icon and No as the default button. True
    // for Yes.
    virtual bool askYesNo(const QString &text, const QString &title) = 0;
    // The report of a run-time error, OK only; the program ends after it.
    virtual void reportError(const QString &text, const QString &title) = 0;
};

// The real prompts and message boxes, in the desktop's own look.
class QtDialogs final : public Dialogs
{
public:
    QString askText(const QString &prompt, const QString &title) override;
    void inform(const QString &text, const QString &title) override;
    bool askYesNo(const QString &text, const QString &title) override;
    void reportError(const QString &text, const QString &title) override;
};
