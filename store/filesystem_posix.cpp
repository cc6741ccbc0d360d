// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The file calls of Linux, which the browser shares: Emscripten gives it the
// same calls over its own file system, where the record folder lies in the
// page's IndexedDB and every fsync writes that folder through to it before it
// returns. Each system's lock is in a file of its own.
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
namespace {

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

// A file system that cannot flush (some network and FUSE ones) has nothing
// more to give; that is no failure of the write.
bool flushed(int fd)
{
    return ::fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP || errno == EOPNOTSUPP;
}

} // namespace

bool exists(const QString &path)
{
    if (::access(native(path).constData(), F_OK) == 0)
        return true;
    if (errno != ENOENT && errno != ENOTDIR)
        fail(path, errno);
    return false;
}

void removeQuietly(const QString &path)
{
    ::unlink(native(path).constData());
}

Error readFile(const QString &path, qint64 maxBytes, QByteArray &bytes)
{
    const int fd = ::open(native(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    bytes.resize(maxBytes);
    qsizetype done = 0;
    Error error = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? errno : 0;
            break;
        }
        done += n;
    }
    ::close(fd);
    bytes.truncate(done);
    return error;
}

Error writeFileDurably(const QString &path, QByteArrayView bytes)
{
    const QByteArray name = native(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return errno;
    qsizetype done = 0;
    Error error = 0;
    while (!error && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        else if (n == 0 || errno != EINTR)
            error = n < 0 ? errno : EIO;
    }
    if (!error && !flushed(fd))
        error = errno;
    if (::close(fd) != 0 && !error)
        error = errno;
    if (error)
        ::unlink(name.constData());
    return error;
}

Error renameOver(const QString &from, const QString &to)
{
    return std::rename(native(from).constData(), native(to).constData()) == 0 ? 0 : errno;
}

Error link(const QString &from, const QString &to)
{
    return ::link(native(from).constData(), native(to).constData()) == 0 ? 0 : errno;
}

Error makeFolder(const QString &path)
{
    return ::mkdir(native(path).constData(), 0777) == 0 || errno == EEXIST ? 0 : errno;
}

void syncFolder(const QString &folder)
{
    const int fd = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
    if (error == EACCES || error == EPERM || error == EROFS || error == EWOULDBLOCK)
        code = RuntimeError::PermissionDenied;
    else if (error == ENOENT || error == ENOTDIR || error == ENAMETOOLONG)
        code = RuntimeError::PathNotFound;
    throw RuntimeError(code, QString::fromLocal8Bit(std::strerror(error)), path);
}

} // namespace FileSystem
