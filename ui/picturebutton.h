// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QToolButton>

// A classic push button that shows its picture centred above its caption, on
// a flat face of its palette's button colour. Its icon's Selected picture is the
// one shown while the button is held down, and its Disabled picture the one
// shown while it is disabled; a button with only one picture shows that one
// always. Enter presses it while it has the focus, as Space does.
class PictureButton : public QToolButton
{
    Q_OBJECT
public:
    using QToolButton::QToolButton;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
