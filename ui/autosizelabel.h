// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

// A label that takes the size of its text whenever the game gives it a new
// caption, its top-left corner staying where it is. It breaks lines only where
// the text holds a line break. The size it is created with is the layout's.
class AutoSizeLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

    void setCaption(const QString &text);
};
