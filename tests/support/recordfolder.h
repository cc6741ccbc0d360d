// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

// The entries of a folder by name with their bytes; "<dir>" stands for a
// folder, which putFiles makes non-empty so that no rename can replace it.
using Files = QMap<QString, QByteArray>;
Files filesIn(const QString &folder);
void putFiles(const QString &folder, const Files &files);

// The record files by the names the user sees in the folder.
inline const QString Score = QStringLiteral("gomirlo10.txt");
inline const QString Name = QStringLiteral("gomirlo100.txt");

// A private user data folder for one test: the game's record folder lies in
// it, and nothing of the real user's is touched.
class RecordFolder
{
public:
    RecordFolder();
    ~RecordFolder();

    // The game's record folder, without a trailing separator.
    QString path() const { return m_home.path() + QStringLiteral("/gomirlo"); }
    Files files() const { return filesIn(path()); }
    void put(const Files &files) const { putFiles(path(), files); }

private:
    QTemporaryDir m_home;
    QByteArray m_previous;
};
