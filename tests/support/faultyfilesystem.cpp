// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "faultyfilesystem.h"

#define FileSystem RealFileSystem
#include "filesystem.h"
#undef FileSystem

using RealFileSystem::Error;
using RealFileSystem::Lock;

namespace Faults {

int steps = 0;
bool noLinks = false;
QStringList log;
static Kind planned = None;
static int plannedAt = 0;
// A code that every system takes for a failure of the disk.
static constexpr Error Broken = 1117;

void reset(Kind kind, int at)
{
    planned = kind;
    plannedAt = at;
    steps = 0;
}

// Counts a step; the planned one goes wrong. Renames can also be done and
// then reported failed, or all fail from one on.
static Error step(const std::function<Error()> &operation, bool isRename = false)
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

} // namespace Faults

// Every operation is a step, but letting go of the lock: it cannot fail, and a
// crash lets go too.
namespace FileSystem {

#define STEP(operation, parameters, arguments, ...)                                           \
    Error operation parameters                                                                \
    {                                                                                         \
        return Faults::step([&] { return RealFileSystem::operation arguments; } __VA_ARGS__); \
    }
STEP(readFile, (const QString &path, qint64 maxBytes, QByteArray &bytes), (path, maxBytes, bytes))
STEP(writeFileDurably, (const QString &path, QByteArrayView bytes), (path, bytes))
STEP(renameOver, (const QString &from, const QString &to), (from, to), , true)
STEP(tryLock, (const QString &path, Lock &held), (path, held))

Error link(const QString &from, const QString &to)
{
    return Faults::step([&] { return Faults::noLinks ? Faults::Broken : RealFileSystem::link(from, to); });
}

bool exists(const QString &path)
{
    if (const Error error = Faults::step([] { return 0; }))
        RealFileSystem::fail(path, error);
    return RealFileSystem::exists(path);
}

void removeQuietly(const QString &path)
{
    Faults::step([&] { return RealFileSystem::removeQuietly(path), 0; });
}

Error makeFolder(const QString &path)
{
    Faults::log << QStringLiteral("made ") + path;
    return Faults::step([&] { return RealFileSystem::makeFolder(path); });
}

void syncFolder(const QString &folder)
{
    Faults::log << QStringLiteral("synced ") + folder;
    Faults::step([&] { return RealFileSystem::syncFolder(folder), 0; });
}

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
