// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "modalrun.h"

#include <QDialog>

// On the desktop a box runs a nested event loop of its own, and another box
// may open over it.
int runModal(QDialog &dialog)
{
    return dialog.exec();
}
