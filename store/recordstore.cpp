// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "recordstore.h"

#include "filesystem.h"
#include "recordtext.h"
#include "runtimeerror.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <optional>

namespace RecordStore {
namespace {

// A write in progress keeps its new lines beside the old files, and the old
// score under a second name until the new name is in place; recovery reads the
// state of an interrupted write from which of these exist.
QString pendingPath(const QString &path)
{
    return path + QStringLiteral(".new");
}
QString backupPath(const QString &path)
{
    return path + QStringLiteral(".old");
}

using FileSystem::exists;
using FileSystem::fail;
using FileSystem::removeQuietly;
using FileSystem::renameOver;

[[noreturn]] void fail(const QFile &file)
{
    throw RuntimeError(RuntimeError::FileAccess, file.errorString(), file.fileName());
}

// Writes the new content of the record file at path beside it and makes sure
// it is on the disk before it is used to replace anything. Failures name the
// record file, which is what the user knows.
void writeDurably(const QString &path, const QByteArray &bytes)
{
    if (const int error = FileSystem::writeFileDurably(pendingPath(path), bytes))
        fail(path, error);
}

// Keeps the current score file under its backup name without ever leaving the
// score's own name empty: a second link to the same file where the file system
// allows it. Where it does not (FAT sticks, some network shares), a copy is
// written out in full under a name of its own and only then takes the backup's
// name, so the backup is never half a score; recovery clears that name.
int keepBackup(const QString &path)
{
    const QString backup = backupPath(path);
    removeQuietly(backup);
    if (!exists(path))
        return 0;
    if (FileSystem::link(path, backup) == 0)
        return 0;
    const QString copy = pendingPath(backup);
    int error = FileSystem::copyDurably(path, copy);
    if (!error && (error = renameOver(copy, backup)))
        removeQuietly(copy);
    return error;
}

// Creates the folder and every missing folder above it, each made durable in
// its parent before it is used: a record written into a folder that a power
// cut then takes away would be lost with it.
void makeFolderDurably(const QString &folder)
{
    const QFileInfo info(folder);
    if (info.isDir())
        return;
    const QString parent = info.path();
    if (parent != folder)
        makeFolderDurably(parent);
    if (info.exists())
        throw RuntimeError(RuntimeError::PathNotFound, QStringLiteral("non è una cartella"), folder);
    if (const int error = FileSystem::makeFolder(folder))
        fail(folder, error);
    FileSystem::syncFolder(parent);
}

// Writes a new record pair from the bytes that are to lie on the disk: both
// are written out in full beside the old files before either replaces its
// old file, score first; if anything fails the old pair is left as it was.
void writeRecordBytes(const QString &winDir, const QByteArray &scoreBytes, const QByteArray &nameBytes)
{
    const QString scorePath = winDir + ScoreFile;
    const QString namePath = winDir + NameFile;

    writeDurably(scorePath, scoreBytes);
    try {
        writeDurably(namePath, nameBytes);
    } catch (...) {
        removeQuietly(pendingPath(scorePath));
        throw;
    }
    auto abandon = [&](const QString &path, int error) {
        removeQuietly(pendingPath(scorePath));
        removeQuietly(pendingPath(namePath));
        removeQuietly(backupPath(scorePath));
        fail(path, error);
    };

    if (const int error = keepBackup(scorePath))
        abandon(scorePath, error);
    if (const int error = renameOver(pendingPath(scorePath), scorePath))
        abandon(scorePath, error);
    if (const int error = renameOver(pendingPath(namePath), namePath)) {
        // The new score is in place but its holder's name is not: put the old
        // score back, so the pair on disk stays the old record.
        if (exists(backupPath(scorePath)))
            renameOver(backupPath(scorePath), scorePath);
        else
            removeQuietly(scorePath);
        abandon(namePath, error);
    }
    removeQuietly(backupPath(scorePath));
    FileSystem::syncFolder(winDir);
}

// At most MaxReadBytes of a file the earlier program left, or nothing when it
// is missing or cannot be read: it is not ours, and the game goes on without it.
std::optional<QByteArray> readEarlier(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.read(MaxReadBytes);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

} // namespace

QString GetSystemDir()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty())
        throw RuntimeError(RuntimeError::PathNotFound, QStringLiteral("nessuna cartella dati per l'utente"));
    makeFolderDurably(folder);
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

void createWhenMissing(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::Append))
        fail(file);
}

QString Leggifiletxt(const QString &nomefile)
{
    QFile file(nomefile);
    if (!file.open(QIODevice::ReadOnly))
        fail(file);
    const QByteArray bytes = file.read(MaxReadBytes);
    if (bytes.isNull() && file.error() != QFileDevice::NoError)
        fail(file);
    return decodeRecordText(bytes, !file.atEnd());
}

void writeRecord(const QString &winDir, const QString &scoreLine, const QString &nameLine)
{
    writeRecordBytes(winDir, encodeRecordLine(scoreLine), encodeRecordLine(nameLine));
}

void takeOverEarlierRecord(const QString &winDir)
{
    const QStringList earlierFolders = FileSystem::earlierRecordFolders();
    if (earlierFolders.isEmpty())
        return;
    // Our own record, once there is one, is the one that counts: an earlier
    // record only fills the place of none.
    if (QFileInfo(winDir + ScoreFile).size() != 0 || QFileInfo(winDir + NameFile).size() != 0)
        return;
    for (const QString &folder : earlierFolders) {
        const std::optional<QByteArray> score = readEarlier(folder + ScoreFile);
        const std::optional<QByteArray> name = readEarlier(folder + NameFile);
        if (!score || score->isEmpty() || !name)
            continue;
        // The bytes as they are: the reader knows the earlier program's
        // Windows-1252 as well as our UTF-8.
        writeRecordBytes(winDir, *score, *name);
        return;
    }
}

void recoverInterruptedWrite(const QString &winDir)
{
    const QString scorePath = winDir + ScoreFile;
    const QString namePath = winDir + NameFile;
    // Nearly every start finds nothing left over; it need not wait for the
    // disk to confirm a folder it has not touched.
    if (!exists(pendingPath(namePath)) && !exists(pendingPath(scorePath)) && !exists(backupPath(scorePath)))
        return;
    if (exists(pendingPath(namePath))) {
        // The name never replaced its old file, so the old record is the
        // whole one: bring back its score if it was already replaced.
        if (exists(backupPath(scorePath)))
            renameOver(backupPath(scorePath), scorePath);
        removeQuietly(pendingPath(namePath));
        // A copy of the old score is made only while the new name waits.
        removeQuietly(pendingPath(backupPath(scorePath)));
    }
    removeQuietly(pendingPath(scorePath));
    removeQuietly(backupPath(scorePath));
    FileSystem::syncFolder(winDir);
}

} // namespace RecordStore
