// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A private user data folder for one test: the game's record folder lies in
// it, and nothing of the real user's is touched.
class RecordFolder
{
public:
    RecordFolder();
    ~RecordFolder();

    // The game's record folder, without a trailing separator.
    QString path() const;
    QString scorePath() const;
    QString namePath() const;

    void writeScore(const QByteArray &bytes) const;
    void writeName(const QByteArray &bytes) const;
    QByteArray score() const;
    QByteArray name() const;

private:
    QTemporaryDir m_home;
    QByteArray m_previous;
};

QByteArray readAll(const QString &path);
void writeAll(const QString &path, const QByteArray &bytes);
