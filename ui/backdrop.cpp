// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "backdrop.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

Backdrop::Backdrop(QWidget *parent)
    : QWidget(parent)
{
}

void Backdrop::paintBands(int shade)
{
    // Painted in device pixels, so the bands stay crisp on a scaled screen.
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (m_picture.size() != pixels || m_picture.format() != QImage::Format_RGB32)
        m_picture = QImage(pixels, QImage::Format_RGB32);
    m_picture.setDevicePixelRatio(ratio);

    const int width = pixels.width();
    const int height = pixels.height();
    const int redGreen = shade * 10;
    for (int band = 0; band < Bands; ++band) {
        // Band i covers rows i/256 to (i+1)/256 of the height, so the bands
        // fill the height exactly whatever it is.
        const int top = band * height / Bands;
        const int bottom = (band + 1) * height / Bands;
        const QRgb colour = qRgb(redGreen, redGreen, band);
        for (int y = top; y < bottom; ++y) {
            auto *line = reinterpret_cast<QRgb *>(m_picture.scanLine(y));
            std::fill_n(line, width, colour);
        }
    }
    update();
}

void Backdrop::setBackColour(const QColor &colour)
{
    m_backColour = colour;
    m_picture = QImage();
    update();
}

void Backdrop::paintEvent(QPaintEvent *event)
{
    if (!m_backColour.isValid() && m_picture.isNull())
        return;
    QPainter painter(this);
    if (m_backColour.isValid())
        painter.fillRect(event->rect(), m_backColour);
    if (!m_picture.isNull())
        painter.drawImage(event->rect().topLeft(), m_picture,
                          QRectF(QPointF(event->rect().topLeft()) * m_picture.devicePixelRatio(),
                                 QSizeF(event->rect().size()) * m_picture.devicePixelRatio()));
}
