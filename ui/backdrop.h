// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

// The window's client area with its persistent background picture: what is
// painted into it stays there, behind the controls, and is shown again whenever
// the window is uncovered. It is painted only when asked, never on a resize.
class Backdrop : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Bands = 256;

    explicit Backdrop(QWidget *parent = nullptr);

    // Paints 256 horizontal bands over the whole height, from blue 0 at the
    // top to blue 255 at the bottom, red and green both shade × 10, each band
    // reaching past the right edge.
    void paintBands(int shade);

    // A new background colour wipes the picture; the area shows the plain
    // colour until bands are painted again.
    void setBackColour(const QColor &colour);

    // One pixel per row of what is painted, in device pixels: each row is one
    // colour across the width painted.
    const QImage &picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_backColour; // invalid until set: the window's own colour shows
    QImage m_picture;
    int m_pictureWidth = 0; // in device pixels, as wide as the area when painted
};
