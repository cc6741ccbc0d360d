// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <thread>

// The file operations that a record needs to survive a crash, a power cut and a
// second copy of the game, made with each system's own calls: one
// implementation per system, chosen by the build. The record store builds its
// lock, its two-phase write and its recovery on these alone.
namespace FileSystem {

// The system's own code of a failed operation (errno, or Windows' last error);
// 0 for success.
using Error = int;
// Not a system's code: the lock is held by another process.
inline constexpr Error Busy = -1;

// Whether there is a file or folder at path. Only "no such file or folder"
// counts as absent: any other failure to look is a run-time error, since a
// file that cannot be seen is not a missing one.
bool exists(const QString &path);
// Removes a file if it is there. What cannot be removed now is cleared by the
// next recovery.
void removeQuietly(const QString &path);

// At most maxBytes of a file, read while others may read, write or delete it.
Error readFile(const QString &path, qint64 maxBytes, QByteArray &bytes);
// Creates or empties the file and writes bytes into it, on the disk before it
// returns. A file that could not be written whole is removed.
Error writeFileDurably(const QString &path, QByteArrayView bytes);
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

// An exclusive lock that holds between processes, on one PC and between PCs
// that share the folder over the network. Its file exists only while it is
// held: tryLock makes it, unlock removes it, and a lock left by a process that
// died is free again.
using Lock = std::intptr_t;
// One try: 0 with the lock in held, Busy while another process holds it, or
// the system's code of a failure.
Error tryLock(const QString &path, Lock &held);
void unlock(const QString &path, Lock held);

// The folders in which the earlier program of this game kept the same two
// record files on this system, the likeliest first; none where it never ran.
// They are the earlier program's: read from, never written to.
QStringList earlierRecordFolders();

// The run-time error for a failed operation on path: its classic number by the
// kind of failure, and what the system said.
[[noreturn]] void fail(const QString &path, Error error);

// Calls attempt until it gives something other than a brief refusal, with a
// growing pause between tries, for about the time given; returns its last
// result.
template<typename Attempt, typename Brief>
Error retryBriefly(std::chrono::milliseconds patience, Attempt attempt, Brief isBrief)
{
    using namespace std::chrono_literals;
    std::chrono::milliseconds waited = 0ms, pause = 1ms;
    for (;;) {
        const Error error = attempt();
        if (!error || !isBrief(error) || waited >= patience)
            return error;
        std::this_thread::sleep_for(pause);
        waited += pause;
        pause = std::min(2 * pause, std::chrono::milliseconds(100ms));
    }
}

} // namespace FileSystem
