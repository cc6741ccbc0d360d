// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "recordfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QTest>

char *toString(const Files &files)
{
    QStringList entries;
    for (auto file = files.begin(); file != files.end(); ++file)
        entries << file.key() + u'=' + QString::fromLatin1(QByteArray(file.value()).replace("\r", "\\r").replace("\n", "\\n"));
    return QTest::toString(entries.join(u", "));
}

Files filesIn(const QString &folder)
{
    Files files;
    for (const QFileInfo &entry : QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        QFile file(entry.filePath());
        files.insert(entry.fileName(), entry.isDir() ? "<dir>" : file.open(QIODevice::ReadOnly) ? file.readAll()
                                                                                                : "<unreadable>");
    }
    return files;
}

void putFiles(const QString &folder, const Files &files)
{
    QDir().mkpath(folder);
    for (auto file = files.begin(); file != files.end(); ++file) {
        QFile out(folder + u'/' + file.key());
        if (file.value() == "<dir>") {
            out.remove();
            QDir(folder).mkpath(file.key() + QStringLiteral("/inside"));
        } else if (!out.open(QIODevice::WriteOnly) || out.write(file.value()) != file.value().size()) {
            qFatal("cannot write %s", qPrintable(out.fileName()));
        }
    }
}

RecordFolder::RecordFolder()
    : m_previous(qgetenv("XDG_DATA_HOME"))
{
    // The data folder is named after the program, as the game's own main() names it.
    QCoreApplication::setApplicationName(QStringLiteral("gomirlo"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.path()));
}

RecordFolder::~RecordFolder()
{
    qputenv("XDG_DATA_HOME", m_previous);
}
