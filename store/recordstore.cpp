// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "recordstore.h"

#include "filesystem.h"
#include "recordtext.h"
#include "runtimeerror.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

using namespace std::chrono_literals;

namespace RecordStore {
namespace {

using FileSystem::Error;
using FileSystem::exists;
using FileSystem::fail;
using FileSystem::removeQuietly;

const QString LockFile = QStringLiteral("gomirlo.lock");
// Another copy holds the lock for the moment a start-up or a save takes; one
// that holds it longer has hung, and waiting on would only hang this one too.
constexpr auto LockPatience = 5s;

QString filePath(const QString &folder, const QString &file)
{
    return folder.endsWith(u'/') ? folder + file : folder + u'/' + file;
}

// A save in progress keeps its new lines beside the old files, and the old
// score under a second name until the new name is in place; recovery reads the
// state of an interrupted save from which of these exist.
QString pendingPath(const QString &path)
{
    return path + QStringLiteral(".new");
}
QString backupPath(const QString &path)
{
    return path + QStringLiteral(".old");
}

// Holds the folder's lock while it lives.
class FolderLock
{
public:
    explicit FolderLock(const QString &folder)
        : m_path(filePath(folder, LockFile))
    {
        const Error error = FileSystem::retryBriefly(
            LockPatience, [this] { return FileSystem::tryLock(m_path, m_held); },
            [](Error error) { return error == FileSystem::Busy; });
        if (error == FileSystem::Busy)
            throw RuntimeError(RuntimeError::PermissionDenied, QStringLiteral("in uso da un'altra copia del gioco"), m_path);
        if (error)
            fail(m_path, error);
    }
    ~FolderLock() { FileSystem::unlock(m_path, m_held); }
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

private:
    QString m_path;
    FileSystem::Lock m_held = 0;
};

// A network share may report a rename that it did as failed: it counts as done
// when the old name is gone and the new one is there.
Error rename(const QString &from, const QString &to)
{
    const Error error = FileSystem::renameOver(from, to);
    return error && !exists(from) && exists(to) ? 0 : error;
}

// The old score under a second name, its own never left empty: a hard link, or
// where there are none (FAT, some shares) a whole copy that then takes the name.
Error keepBackup(const QString &path)
{
    const QString backup = backupPath(path);
    if (FileSystem::link(path, backup) == 0)
        return 0;
    QByteArray bytes;
    const QString copy = pendingPath(backup);
    Error error = FileSystem::readFile(path, MaxReadBytes, bytes);
    if (!error && !(error = FileSystem::writeFileDurably(copy, bytes)) && (error = rename(copy, backup)))
        removeQuietly(copy);
    return error;
}

// Replaces the record pair, every step on the disk before the next: a crash or
// a power cut at any point leaves the old pair, the new pair, or what
// recovery turns back into the old pair.
void writeRecordBytes(const QString &folder, const QByteArray &scoreBytes, const QByteArray &nameBytes)
{
    const QString score = filePath(folder, ScoreFile), name = filePath(folder, NameFile);
    // While the old pair stands (nothing replaced yet, or the old score put
    // back), what the save made can go.
    const auto giveUp = [&](const QString &path, Error error) {
        for (const QString &made : {pendingPath(name), pendingPath(score), backupPath(score)})
            removeQuietly(made);
        fail(path, error);
    };
    if (const Error error = FileSystem::writeFileDurably(pendingPath(score), scoreBytes))
        giveUp(score, error);
    if (const Error error = FileSystem::writeFileDurably(pendingPath(name), nameBytes))
        giveUp(name, error);
    if (const Error error = keepBackup(score))
        giveUp(score, error);
    FileSystem::syncFolder(folder);
    if (const Error error = rename(pendingPath(score), score))
        giveUp(score, error);
    FileSystem::syncFolder(folder);
    if (const Error error = rename(pendingPath(name), name)) {
        // The old score goes back beside its holder's name. Where even that
        // fails, nothing is removed: the next start's recovery brings it back.
        if (rename(backupPath(score), score))
            fail(name, error);
        FileSystem::syncFolder(folder);
        giveUp(name, error);
    }
    FileSystem::syncFolder(folder);
    removeQuietly(backupPath(score));
}

// Completes or undoes a save that a crash or a power cut interrupted. If the
// old score cannot be brought back, it stops and reports, removing nothing.
void recoverInterruptedWrite(const QString &folder)
{
    const QString score = filePath(folder, ScoreFile), name = filePath(folder, NameFile);
    const QStringList leftOver{pendingPath(name), pendingPath(score), backupPath(score), pendingPath(backupPath(score))};
    // Nearly every start finds nothing; it need not wait for the disk then.
    if (std::none_of(leftOver.begin(), leftOver.end(), exists))
        return;
    // The name never replaced its old file, so the old pair is the whole one.
    if (exists(pendingPath(name)) && exists(backupPath(score))) {
        if (const Error error = rename(backupPath(score), score))
            fail(score, error);
        FileSystem::syncFolder(folder);
    }
    for (const QString &path : leftOver)
        removeQuietly(path);
    FileSystem::syncFolder(folder);
}

// Creates the folder and every missing folder above it, each made durable in
// its parent before it is used: a record written into a folder that a power
// cut then takes away would be lost with it. True if it made the folder.
bool makeFolderDurably(const QString &folder)
{
    const QFileInfo info(folder);
    if (info.isDir())
        return false;
    const QString parent = info.path();
    if (parent != folder)
        makeFolderDurably(parent);
    if (info.exists())
        throw RuntimeError(RuntimeError::PathNotFound, QStringLiteral("non è una cartella"), folder);
    if (const Error error = FileSystem::makeFolder(folder))
        fail(folder, error);
    FileSystem::syncFolder(parent);
    return true;
}

// The bytes as they are: the reader knows the earlier program's Windows-1252.
// A file that cannot be read is passed over; it is not ours.
void takeOverEarlierRecord(const QString &folder, const QStringList &earlierFolders)
{
    for (const QString &earlier : earlierFolders) {
        QByteArray score, name;
        if (!FileSystem::readFile(filePath(earlier, ScoreFile), MaxReadBytes, score) && !score.isEmpty()
            && !FileSystem::readFile(filePath(earlier, NameFile), MaxReadBytes, name)) {
            writeRecordBytes(folder, score, name);
            return;
        }
    }
}

void createWhenMissing(const QString &path)
{
    if (!exists(path)) {
        if (const Error error = FileSystem::writeFileDurably(path, {}))
            fail(path, error);
    }
}

// What a start-up and a save do first, under the lock. A teacher may have
// deleted both files meanwhile to reset the record.
void prepare(const QString &folder)
{
    recoverInterruptedWrite(folder);
    createWhenMissing(filePath(folder, ScoreFile));
    createWhenMissing(filePath(folder, NameFile));
}

// The folder of the record files, ending in a separator.
QString GetSystemDir()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty())
        throw RuntimeError(RuntimeError::PathNotFound, QStringLiteral("nessuna cartella dati per l'utente"));
    return filePath(folder, QString());
}

} // namespace

Record open()
{
    return open(GetSystemDir(), FileSystem::earlierRecordFolders());
}

Record open(const QString &folder, const QStringList &earlierFolders)
{
    const bool made = makeFolderDurably(QDir::cleanPath(folder));
    const FolderLock lock(folder);
    prepare(folder);
    if (made)
        takeOverEarlierRecord(folder, earlierFolders);
    return {filePath(folder, QString()), Leggifiletxt(filePath(folder, ScoreFile)), Leggifiletxt(filePath(folder, NameFile))};
}

QString Leggifiletxt(const QString &nomefile)
{
    QByteArray bytes;
    if (const Error error = FileSystem::readFile(nomefile, MaxReadBytes + 1, bytes))
        fail(nomefile, error);
    const bool truncated = bytes.size() > MaxReadBytes;
    if (truncated)
        bytes.truncate(MaxReadBytes);
    return decodeRecordText(bytes, truncated);
}

bool writeRecord(const QString &folder, const QString &scoreLine, const QString &nameLine,
                 const std::function<bool(const QString &storedScore)> &beatsStored)
{
    const FolderLock lock(folder);
    prepare(folder);
    if (!beatsStored(Leggifiletxt(filePath(folder, ScoreFile))))
        return false;
    writeRecordBytes(folder, encodeRecordLine(scoreLine), encodeRecordLine(nameLine));
    return true;
}

} // namespace RecordStore
