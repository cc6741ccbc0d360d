// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Abandoning the race for a new one: the window is unloaded and loaded again,
// so the whole start-up runs once more. Nothing is saved on this path.
#include "tavola.h"

#include "dialogs.h"
#include "ui_tavola.h"

using namespace Qt::StringLiterals;

void Tavola::Next_Click()
{
    if (!Dialogs::askYesNo(u"INIZIAMO UNA NUOVA GARA  ?"_s, u"INIZIARE NUOVA GARA"_s))
        return;
    // The answer is not used: every race goes up to twenty.
    const QString tableLimit = Dialogs::askText(u"Tavola pitagorica fino al numero? "_s, AppTitle);
    if (tableLimit.isEmpty())
        Dialogs::inform(u" "_s + m_state.PlayerName + u" siccome non hai scelto arriviamo fino al 10."_s, AppTitle);

    unload();
    loadAndShow();
}
