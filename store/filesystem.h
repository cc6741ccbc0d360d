// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

// The file operations that a record needs to survive a crash or a power cut,
// made with each system's own calls: one implementation per system, chosen by
// the build. The record store builds its two-phase write and its recovery on
// these alone.
namespace FileSystem {

// The system's own code of a failed operation (errno, or Windows' last error);
// 0 for success.
using Error = int;

bool exists(const QString &path);
// Removes a file if it is there. What cannot be removed now is cleared by the
// next recovery.
void removeQuietly(const QString &path);

// Creates or empties the file and writes bytes into it, on the disk before it
// returns. A file that could not be written whole is removed.
Error writeFileDurably(const QString &path, QByteArrayView bytes);
// Copies a file as writeFileDurably writes one.
Error copyDurably(const QString &from, const QString &to);
// Gives the file at from the name to, replacing what had that name, in one
// step: a reader sees the old file or the new one, never neither.
Error renameOver(const QString &from, const QString &to);
// A second name for the same file, where the file system has hard links.
Error link(const QString &from, const QString &to);
// Creates a folder in a folder that exists; a folder already there is success.
Error makeFolder(const QString &path);
// Makes the changes to a folder's entries (files and folders made, renamed or
// removed in it) durable. Best effort: some file systems cannot be asked.
void syncFolder(const QString &folder);

// The folders in which the earlier program of this game kept the same two
// record files on this system, the likeliest first; none where it never ran.
// They are the earlier program's: read from, never written to.
QStringList earlierRecordFolders();

// The run-time error for a failed operation on path: its classic number by the
// kind of failure, and what the system said.
[[noreturn]] void fail(const QString &path, Error error);

} // namespace FileSystem
