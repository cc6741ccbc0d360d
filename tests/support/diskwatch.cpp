// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "diskwatch.h"

#include <QFile>

#include <sys/stat.h>

QStringList diskLog;

extern "C" {

int __real_mkdir(const char *path, mode_t mode);
int __real_fsync(int fd);

int __wrap_mkdir(const char *path, mode_t mode)
{
    diskLog << QStringLiteral("made ") + QFile::decodeName(path);
    return __real_mkdir(path, mode);
}

int __wrap_fsync(int fd)
{
    struct stat status {
    };
    if (::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode))
        diskLog << QStringLiteral("synced ") + QFile::symLinkTarget(QStringLiteral("/proc/self/fd/%1").arg(fd));
    return __real_fsync(fd);
}

} // extern "C"
