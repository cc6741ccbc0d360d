// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The game's prompts and message boxes, all made here so that each kind looks
// the same wherever the game asks or tells: the desktop's own dialogs, with
// the texts shown exactly as given.
namespace Dialogs {

// A text-input prompt with OK and Cancel and an empty field. Cancel gives the
// empty text, like OK on an empty field.
QString askText(const QString &prompt, const QString &title);
// A message with an OK button only and no icon; also the report of a run-time
// error, after which the program ends.
void inform(const QString &text, const QString &title);
// Yes and No, with the question icon and No as the default button. True for
// Yes.
bool askYesNo(const QString &text, const QString &title);

} // namespace Dialogs
