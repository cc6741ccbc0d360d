// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The browser gives the program none of the system's faces. The layout was
// measured with Arial and Times New Roman, whose metric twins Liberation Sans
// and Serif travel inside the program, as they do on Linux in the system.
#include <QCoreApplication>
#include <QFont>
#include <QFontDatabase>

namespace {

void addLayoutFaces()
{
    for (const char *face : {"LiberationSans-Regular", "LiberationSans-Bold", "LiberationSans-BoldItalic", "LiberationSerif-Bold"})
        QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/%1.ttf").arg(QLatin1String(face)));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(addLayoutFaces)
