// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "filesystem.h"

#include "runtimeerror.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileSystem {

bool exists(const QString &path)
{
    return ::access(QFile::encodeName(path).constData(), F_OK) == 0;
}

void removeQuietly(const QString &path)
{
    ::unlink(QFile::encodeName(path).constData());
}

Error writeFileDurably(const QString &path, QByteArrayView bytes)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return errno;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : EIO;
            ::close(fd);
            ::unlink(name.constData());
            return error;
        }
        done += n;
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        const int error = errno;
        ::unlink(name.constData());
        return error;
    }
    return 0;
}

Error copyDurably(const QString &from, const QString &to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return errno ? errno : EIO;
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError)
        return EIO;
    return writeFileDurably(to, bytes);
}

Error renameOver(const QString &from, const QString &to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0 ? 0 : errno;
}

Error link(const QString &from, const QString &to)
{
    return ::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0 ? 0 : errno;
}

Error makeFolder(const QString &path)
{
    return ::mkdir(QFile::encodeName(path).constData(), 0777) == 0 || errno == EEXIST ? 0 : errno;
}

void syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

QStringList earlierRecordFolders()
{
    // The earlier program ran on Windows alone.
    return {};
}

void fail(const QString &path, Error error)
{
    RuntimeError::Code code = RuntimeError::FileAccess;
    if (error == EACCES || error == EPERM || error == EROFS)
        code = RuntimeError::PermissionDenied;
    else if (error == ENOENT || error == ENOTDIR)
        code = RuntimeError::PathNotFound;
    throw RuntimeError(code, QString::fromLocal8Bit(std::strerror(error)), path);
}

} // namespace FileSystem
