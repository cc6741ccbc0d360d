// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs.h"
#include "programexit.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// One prompt or message as the game asked for it.
struct DialogCall {
    enum Kind { AskText, Inform, AskYesNo, ReportError };
    Kind kind;
    QString text;
    QString title;
};

// Answers the game's prompts from a script and keeps every text it was shown.
class ScriptedDialogs final : public Dialogs
{
public:
    QStringList textAnswers; // taken in order; when empty, the answer is Cancel
    QList<bool> yesNoAnswers; // taken in order; when empty, No
    // Runs while a prompt or message is "open", like the nested event loop of
    // a real one: a test can let time pass or poke the window here.
    std::function<void(const DialogCall &)> whileOpen;
    QList<DialogCall> calls;

    QStringList texts(DialogCall::Kind kind) const;

    QString askText(const QString &prompt, const QString &title) override;
    void inform(const QString &text, const QString &title) override;
    bool askYesNo(const QString &text, const QString &title) override;
    void reportError(const QString &text, const QString &title) override;

private:
    void open(DialogCall::Kind kind, const QString &text, const QString &title);
};

// Records the end of the program instead of ending the test.
class RecordingExit final : public ProgramExit
{
public:
    std::optional<int> status;
    int calls = 0;
    void quit(int code) override
    {
        ++calls;
        status = code;
    }
};
