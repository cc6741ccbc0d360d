// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "backdrop.h"

#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

Backdrop::Backdrop(QWidget *parent)
    : QWidget(parent)
{
}

void Backdrop::paintBands(int shade)
{
    // Each row is one colour across the width, so the picture keeps one pixel
    // a row (a whole one would be 8 MiB at 1920 x 1080), in device pixels.
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (m_picture.height() != pixels.height() || m_picture.format() != QImage::Format_RGB32)
        m_picture = QImage(1, pixels.height(), QImage::Format_RGB32);
    m_picture.setDevicePixelRatio(ratio);
    m_pictureWidth = pixels.width();

    const int height = pixels.height();
    const int redGreen = shade * 10;
    for (int band = 0; band < Bands; ++band) {
        // Band i covers rows i/256 to (i+1)/256 of the height, so the bands
        // fill the height exactly whatever it is.
        const int top = band * height / Bands;
        const int bottom = (band + 1) * height / Bands;
        const QRgb colour = qRgb(redGreen, redGreen, band);
        for (int y = top; y < bottom; ++y)
            reinterpret_cast<QRgb *>(m_picture.scanLine(y))[0] = colour;
    }
    update();
}

void Backdrop::setBackColour(const QColor &colour)
{
    m_backColour = colour;
    m_picture = QImage();
    m_pictureWidth = 0;
    update();
}

void Backdrop::paintEvent(QPaintEvent *event)
{
    if (!m_backColour.isValid() && m_picture.isNull())
        return;
    QPainter painter(this);
    const QRect area = event->rect();
    // The picture covers the size it was painted at, in device pixels; a
    // window grown since shows its background colour beyond it.
    const qreal ratio = m_picture.isNull() ? 1.0 : m_picture.devicePixelRatio();
    const QRect covered(0, 0, m_pictureWidth, m_picture.height());
    if (m_backColour.isValid()) {
        // Filling under the bands as well would double the work of every
        // repaint after the first wrong answer.
        QRegion uncovered(area);
        if (ratio == 1.0)
            uncovered -= covered;
        for (const QRect &rect : uncovered)
            painter.fillRect(rect, m_backColour);
    }
    if (m_picture.isNull())
        return;

    const QRect asked = QRectF(QPointF(area.topLeft()) * ratio, QSizeF(area.size()) * ratio).toAlignedRect();
    const QRect painted = asked & covered;
    // One fill per run of rows of one colour: a band, or the part of it in
    // the area to repaint.
    for (int y = painted.top(); y <= painted.bottom();) {
        const QRgb colour = reinterpret_cast<const QRgb *>(m_picture.constScanLine(y))[0];
        int end = y + 1;
        while (end <= painted.bottom()
               && reinterpret_cast<const QRgb *>(m_picture.constScanLine(end))[0] == colour)
            ++end;
        const QRect rows(painted.left(), y, painted.width(), end - y);
        if (ratio == 1.0)
            painter.fillRect(rows, QColor(colour));
        else
            painter.fillRect(QRectF(QPointF(rows.topLeft()) / ratio, QSizeF(rows.size()) / ratio), QColor(colour));
        y = end;
    }
}
