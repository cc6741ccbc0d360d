// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The two record files: the best score and the name of the child who made it.
// This is the one place that knows where they lie and how they are locked,
// created, read and written; every failure is a RuntimeError naming the file.
//
// Two copies of the game may share the folder (a child who starts it twice, a
// class account whose data lies on a server): everything that changes the
// record holds the folder's lock, so neither ever sees the other's half-done
// work.
namespace RecordStore {

inline const QString ScoreFile = QStringLiteral("gomirlo10.txt");
inline const QString NameFile = QStringLiteral("gomirlo100.txt");

// At most this much of a record file is read: a record is one short line, and
// a damaged or huge file must not hold up the start of the game.
constexpr qint64 MaxReadBytes = 64 * 1024;

// The record as a start-up finds it: the folder of the files, ending in a
// separator, and the text of each file, line ends included.
struct Record {
    QString folder;
    QString score;
    QString name;
};

// The start-up of the record store. The folder is the user's own data folder:
// a shared school PC keeps one record per account, and the game needs no rights
// beyond the user's. It is made durably where missing; then, under its lock, a
// save that a crash or power cut interrupted is completed or undone, the two
// files are created empty where missing, and, only in the start that made the
// folder, the record of the game's earlier program is taken over (so that
// deleting both files resets the record for good). Then both are read.
Record open();
// The same for the folder given, taking over from the earlier folders given.
Record open(const QString &folder, const QStringList &earlierFolders);

// The text of a record file, line ends included, at most MaxReadBytes of it.
QString Leggifiletxt(const QString &nomefile);

// Saves a new record into the folder, under its lock, when beatsStored says that
// the score beats the record stored there now (another copy of the game may
// have saved a higher one since this one started); true if it did. Each text
// is written as one line followed by CR LF. Both lines are written out in full
// beside the old files before either replaces its old file, score first; a
// failure leaves the old pair, or what the next start turns back into it.
bool writeRecord(const QString &folder, const QString &scoreLine, const QString &nameLine,
                 const std::function<bool(const QString &storedScore)> &beatsStored);

} // namespace RecordStore
