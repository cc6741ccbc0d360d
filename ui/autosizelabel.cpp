// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "autosizelabel.h"

void AutoSizeLabel::setCaption(const QString &text)
{
    setText(text);
    // Without word wrap the size hint is the text's own size, line breaks
    // included; move() is not touched, so the top-left corner stays.
    resize(sizeHint());
}
