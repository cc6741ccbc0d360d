// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "recordfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

RecordFolder::RecordFolder()
    : m_previous(qgetenv("XDG_DATA_HOME"))
{
    // The data folder is named after the program, as the game's own main() names it.
    QCoreApplication::setApplicationName(QStringLiteral("gomirlo"));
    QCoreApplication::setOrganizationName(QString());
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.path()));
}

RecordFolder::~RecordFolder()
{
    // Make sure a test that took write rights away does not leave a folder
    // that cannot be cleaned up.
    QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_DATA_HOME", m_previous);
}

QString RecordFolder::path() const
{
    return m_home.path() + QStringLiteral("/gomirlo");
}

QString RecordFolder::scorePath() const
{
    return path() + QStringLiteral("/gomirlo10.txt");
}

QString RecordFolder::namePath() const
{
    return path() + QStringLiteral("/gomirlo100.txt");
}

void RecordFolder::writeScore(const QByteArray &bytes) const
{
    QDir().mkpath(path());
    writeAll(scorePath(), bytes);
}

void RecordFolder::writeName(const QByteArray &bytes) const
{
    QDir().mkpath(path());
    writeAll(namePath(), bytes);
}

QByteArray RecordFolder::score() const
{
    return readAll(scorePath());
}

QByteArray RecordFolder::name() const
{
    return readAll(namePath());
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    file.write(bytes);
}
