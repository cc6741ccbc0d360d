// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "faultyfilesystem.h"

#define FileSystem RealFileSystem
#include "filesystem.h"
#undef FileSystem

namespace Faults {

int steps = 0;
bool noLinks = false;

namespace {

Kind planned = None;
int plannedAt = 0;
// A code that every system takes for a failure of the disk.
constexpr RealFileSystem::Error Broken = 1117;

// Counts a step; the planned one goes wrong. Renames can also be done and
// then reported failed, or all fail from one on.
template<typename Operation>
RealFileSystem::Error step(Operation operation, bool isRename = false)
{
    ++steps;
    const bool due = planned == RenamesFail ? steps >= plannedAt : steps == plannedAt;
    if (!due || (planned >= RefuseAfterDoing && planned <= RenamesFail && !isRename))
        return operation();
    if (planned == Crash)
        throw Crashed{};
    if (planned == RefuseAfterDoing)
        operation();
    return Broken;
}

} // namespace

void reset(Kind kind, int at)
{
    planned = kind;
    plannedAt = at;
    steps = 0;
}

} // namespace Faults

using Faults::step;

namespace FileSystem {

using Error = RealFileSystem::Error;
using Lock = RealFileSystem::Lock;

bool exists(const QString &path)
{
    if (const Error error = step([] { return 0; }))
        RealFileSystem::fail(path, error);
    return RealFileSystem::exists(path);
}

void removeQuietly(const QString &path)
{
    step([&] {
        RealFileSystem::removeQuietly(path);
        return 0;
    });
}

Error readFile(const QString &path, qint64 maxBytes, QByteArray &bytes)
{
    return step([&] { return RealFileSystem::readFile(path, maxBytes, bytes); });
}

Error writeFileDurably(const QString &path, QByteArrayView bytes)
{
    return step([&] { return RealFileSystem::writeFileDurably(path, bytes); });
}

Error renameOver(const QString &from, const QString &to)
{
    return step([&] { return RealFileSystem::renameOver(from, to); }, true);
}

Error link(const QString &from, const QString &to)
{
    return step([&] { return Faults::noLinks ? Faults::Broken : RealFileSystem::link(from, to); });
}

Error makeFolder(const QString &path)
{
    return step([&] { return RealFileSystem::makeFolder(path); });
}

void syncFolder(const QString &folder)
{
    step([&] {
        RealFileSystem::syncFolder(folder);
        return 0;
    });
}

Error tryLock(const QString &path, Lock &held)
{
    return step([&] { return RealFileSystem::tryLock(path, held); });
}

// Not a step: letting go cannot fail, and a crash lets go too.
void unlock(const QString &path, Lock held)
{
    RealFileSystem::unlock(path, held);
}

QStringList earlierRecordFolders()
{
    return RealFileSystem::earlierRecordFolders();
}

void fail(const QString &path, Error error)
{
    RealFileSystem::fail(path, error);
}

} // namespace FileSystem
