// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The two record files: the best score and the name of the child who made it.
// This is the one place that knows where they lie and how they are created,
// read and written; every failure is a RuntimeError naming the file.
namespace RecordStore {

// The names keep their leading separator and are appended to a folder that
// ends in one; the doubled separator reads as one.
inline const QString ScoreFile = QStringLiteral("/gomirlo10.txt");
inline const QString NameFile = QStringLiteral("/gomirlo100.txt");

// At most this much of a record file is read: a record is one short line, and
// a damaged or huge file must not hold up the start of the game.
constexpr qint64 MaxReadBytes = 64 * 1024;

// The folder of the record files, ending in a separator, created when missing.
// It is the user's own data folder: a shared school PC keeps one record per
// account, and the game needs no rights beyond the user's.
QString GetSystemDir();

// Creates the file with no content when it is missing; an existing file is
// left untouched.
void createWhenMissing(const QString &path);

// The text of a record file, line ends included, at most MaxReadBytes of it.
QString Leggifiletxt(const QString &nomefile);

// Writes a new record: each text as one line followed by CR LF, the score into
// ScoreFile and the name into NameFile of the folder winDir. Both lines are
// written out in full beside the old files before either replaces its old
// file, score first; if anything fails the old pair is left as it was.
void writeRecord(const QString &winDir, const QString &scoreLine, const QString &nameLine);

// Takes over the record of the earlier program of this game, where it left
// one (FileSystem::earlierRecordFolders), when the folder winDir has no record
// of its own yet: both files there empty. The first earlier folder holding
// both files, the score not empty, gives its bytes as they are (at most
// MaxReadBytes of each), written as a new record is written. The earlier files
// are only read; one that cannot be read is passed over without a word.
void takeOverEarlierRecord(const QString &winDir);

// Completes or undoes a writeRecord that a crash or power cut interrupted, so
// that the pair on disk is always one record, old or new.
void recoverInterruptedWrite(const QString &winDir);

} // namespace RecordStore
