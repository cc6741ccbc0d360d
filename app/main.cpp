// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tavola.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QStyleHints>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The record lives in the data folder named after the program.
    QApplication::setApplicationName(QStringLiteral("gomirlo"));
    // The window is away while a new race asks for the name again; that is no
    // reason to quit.
    QApplication::setQuitOnLastWindowClosed(false);
    // A blinking caret would repaint the answer box twice a second, more than
    // the clock does, on school PCs that may be old.
    QGuiApplication::styleHints()->setCursorFlashTime(0);

    // Qt's own buttons and menus speak Italian too: from the translation built
    // into the program (on Windows), else from Qt's own folder.
    QTranslator qtTranslation;
    if (qtTranslation.load(QStringLiteral("qtbase_it"), QStringLiteral(":/translations"))
        || qtTranslation.load(QStringLiteral("qtbase_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslation);

    Tavola window;
    window.showGame();
    return QApplication::exec();
}
