// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "scripteddialogs.h"

QStringList ScriptedDialogs::texts(DialogCall::Kind kind) const
{
    QStringList result;
    for (const DialogCall &call : calls) {
        if (call.kind == kind)
            result << call.text;
    }
    return result;
}

void ScriptedDialogs::open(DialogCall::Kind kind, const QString &text, const QString &title)
{
    calls.append({kind, text, title});
    if (whileOpen)
        whileOpen(calls.last());
}

QString ScriptedDialogs::askText(const QString &prompt, const QString &title)
{
    open(DialogCall::AskText, prompt, title);
    return textAnswers.isEmpty() ? QString() : textAnswers.takeFirst();
}

void ScriptedDialogs::inform(const QString &text, const QString &title)
{
    open(DialogCall::Inform, text, title);
}

bool ScriptedDialogs::askYesNo(const QString &text, const QString &title)
{
    open(DialogCall::AskYesNo, text, title);
    return !yesNoAnswers.isEmpty() && yesNoAnswers.takeFirst();
}

void ScriptedDialogs::reportError(const QString &text, const QString &title)
{
    open(DialogCall::ReportError, text, title);
}
