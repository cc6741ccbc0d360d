// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "benchsupport.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdio>

namespace {

// The offscreen platform reads the size of its screen from a file.
QByteArray offscreenWithScreen(const QTemporaryDir &folder)
{
    const QString path = folder.filePath(QStringLiteral("screen.json"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    // No frame margins: the maximized window's client area is the whole
    // screen but for the menu bar, as under a desktop with hidden decorations.
    file.write(QStringLiteral(R"({"windowFrameMargins": false,
                                  "screens": [{"name": "bench", "x": 0, "y": 0, "width": %1, "height": %2,
                                               "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                   .arg(ScreenWidth)
                   .arg(ScreenHeight)
                   .toUtf8());
    return "offscreen:configfile=" + QFile::encodeName(path);
}

} // namespace

int runBenchmarks(int argc, char **argv)
{
    QTemporaryDir folder;
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen")
        qputenv("QT_QPA_PLATFORM", offscreenWithScreen(folder));

    benchmark::Initialize(&argc, argv);
    QApplication app(argc, argv);
    benchmark::AddCustomContext("qt_platform", QApplication::platformName().toStdString());
    benchmark::AddCustomContext("qt_version", qVersion());
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

void deliverPendingEvents()
{
    QCoreApplication::sendPostedEvents();
}

PaintCounter::PaintCounter(const QList<QWidget *> &watched)
{
    if (watched.isEmpty())
        m_watched.append(qApp);
    for (QWidget *widget : watched)
        m_watched.append(widget);
    for (QObject *object : m_watched)
        object->installEventFilter(this);
}

PaintCounter::~PaintCounter()
{
    // Controls thrown away by a new race are gone already.
    if (m_watched.size() == 1 && m_watched.front() == qApp)
        qApp->removeEventFilter(this);
}

bool PaintCounter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint)
        ++m_paints[watched->objectName()];
    return false;
}
