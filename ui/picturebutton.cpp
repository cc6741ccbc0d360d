// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "picturebutton.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <qdrawutil.h>

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
    QPainter painter(this);
    // The face is flat, in exactly the colour the layout gives it, inside the
    // raised or sunken edges of a classic push button: the style would paint
    // a gradient of its own that lightens the colour.
    const bool sunken = isDown();
    qDrawWinButton(&painter, rect(), palette(), sunken, &palette().brush(QPalette::Button));

    // A button with a single picture shows it unchanged in every state;
    // otherwise its icon holds one for the held-down and disabled states.
    QIcon::Mode mode = !isEnabled() ? QIcon::Disabled : sunken ? QIcon::Selected
                                                               : QIcon::Normal;
    if (icon().availableSizes(mode).isEmpty())
        mode = QIcon::Normal;
    const QPixmap picture = icon().pixmap(iconSize(), devicePixelRatio(), mode);

    // The picture centred above the caption, both moved a pixel down and to
    // the right while the button is held down, as on a classic button.
    const QRect inside = rect().adjusted(3, 3, -3, -3).translated(sunken ? QPoint(1, 1) : QPoint());
    const int lineHeight = fontMetrics().height();
    const int top = inside.top() + (inside.height() - iconSize().height() - 2 - lineHeight) / 2;
    painter.drawPixmap(inside.left() + (inside.width() - iconSize().width()) / 2, top, picture);
    const QRect caption(inside.left(), top + iconSize().height() + 2, inside.width(), lineHeight);
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(caption, Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic, text());

    if (hasFocus()) {
        // Shown however the focus came, as on a classic button: the child
        // finds the button that Enter will press.
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.state |= QStyle::State_KeyboardFocusChange;
        focus.rect = caption.adjusted(-2, 0, 2, 0);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}
