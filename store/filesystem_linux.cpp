// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The folder's lock on Linux; the rest of its file calls, which the browser
// shares, are in filesystem_posix.cpp.
#include "filesystem.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileSystem {

// flock locks hold between processes, and NFS clients turn them into locks on
// the server. The holder removes the file as it lets go, so a lock taken on a
// file that is no longer the one at path is no lock: it is tried again.
Error tryLock(const QString &path, Lock &held)
{
    const QByteArray name = QFile::encodeName(path);
    for (;;) {
        const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0)
            return errno;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const Error error = errno == EWOULDBLOCK ? Busy : errno;
            ::close(fd);
            return error;
        }
        struct stat locked {
        }, current{};
        if (::fstat(fd, &locked) == 0 && ::stat(name.constData(), &current) == 0) {
            if (locked.st_dev == current.st_dev && locked.st_ino == current.st_ino) {
                held = fd;
                return 0;
            }
        } else if (errno != ENOENT) {
            const Error error = errno;
            ::close(fd);
            return error;
        }
        ::close(fd);
    }
}

void unlock(const QString &path, Lock held)
{
    ::unlink(QFile::encodeName(path).constData());
    ::close(int(held));
}

} // namespace FileSystem
