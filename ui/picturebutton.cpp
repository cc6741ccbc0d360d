// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "picturebutton.h"

#include <QKeyEvent>
#include <QStyleOptionToolButton>
#include <QStylePainter>

void PictureButton::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat()) {
        click();
        return;
    }
    QToolButton::keyPressEvent(event);
}

void PictureButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    // The style would draw the normal picture while the button is down; the
    // held-down picture is kept in the icon's Selected mode.
    if (isDown() && isEnabled())
        option.icon = QIcon(icon().pixmap(iconSize(), devicePixelRatio(), QIcon::Selected));
    painter.drawComplexControl(QStyle::CC_ToolButton, option);
}
