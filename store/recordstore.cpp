// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "recordstore.h"

#include "recordtext.h"
#include "runtimeerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

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

[[noreturn]] void fail(const QString &path, int error)
{
    RuntimeError::Code code = RuntimeError::FileAccess;
    if (error == EACCES || error == EPERM || error == EROFS)
        code = RuntimeError::PermissionDenied;
    else if (error == ENOENT || error == ENOTDIR)
        code = RuntimeError::PathNotFound;
    throw RuntimeError(code, QString::fromLocal8Bit(std::strerror(error)), path);
}

[[noreturn]] void fail(const QFile &file)
{
    throw RuntimeError(RuntimeError::FileAccess, file.errorString(), file.fileName());
}

bool exists(const QString &path)
{
    return ::access(QFile::encodeName(path).constData(), F_OK) == 0;
}

void removeQuietly(const QString &path)
{
    ::unlink(QFile::encodeName(path).constData());
}

// Returns errno of a failed rename, 0 on success. A rename within one folder
// replaces its target in one step: a reader sees the old file or the new one.
int renameOver(const QString &from, const QString &to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0 ? 0 : errno;
}

// Writes the new content of the record file at path beside it and makes sure
// it is on the disk before it is used to replace anything. Failures name the
// record file, which is what the user knows.
void writeDurably(const QString &path, const QByteArray &bytes)
{
    const QByteArray name = QFile::encodeName(pendingPath(path));
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        fail(path, errno);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : EIO;
            ::close(fd);
            ::unlink(name.constData());
            fail(path, error);
        }
        done += n;
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        const int error = errno;
        ::unlink(name.constData());
        fail(path, error);
    }
}

// Makes the renames in a folder durable.
void syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Keeps the current score file under its backup name without ever leaving the
// score's own name empty: a second link to the same file where the file system
// allows it, a copy otherwise.
int keepBackup(const QString &path)
{
    const QString backup = backupPath(path);
    removeQuietly(backup);
    if (!exists(path))
        return 0;
    if (::link(QFile::encodeName(path).constData(), QFile::encodeName(backup).constData()) == 0)
        return 0;
    return QFile::copy(path, backup) ? 0 : EIO;
}

} // namespace

QString GetSystemDir()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty())
        throw RuntimeError(RuntimeError::PathNotFound, QStringLiteral("nessuna cartella dati per l'utente"));
    if (!QDir().mkpath(folder)) {
        const QFileInfo info(folder);
        throw RuntimeError(RuntimeError::PathNotFound,
                           info.exists() && !info.isDir() ? QStringLiteral("non è una cartella") : QString(), folder);
    }
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
    const QString scorePath = winDir + ScoreFile;
    const QString namePath = winDir + NameFile;

    writeDurably(scorePath, encodeRecordLine(scoreLine));
    try {
        writeDurably(namePath, encodeRecordLine(nameLine));
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
    syncFolder(winDir);
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
    }
    removeQuietly(pendingPath(scorePath));
    removeQuietly(backupPath(scorePath));
    syncFolder(winDir);
}

} // namespace RecordStore
