// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The folder's lock in the browser; the rest of its file calls are Linux's
// (filesystem_posix.cpp).
#include "filesystem.h"

#include <QFile>

#include <emscripten.h>

namespace {

// Two tabs of the game are two copies of it sharing one record folder, which
// lies in the page's IndexedDB while each tab works on a copy of its own. The
// lock is one of the browser's Web Locks, shared by every tab of the page: it
// is held while the promise handed to the browser is pending, and its release
// is kept under a number, which the store holds as the lock. Once the lock is
// taken, the folder is read back from IndexedDB, so that a save sees what
// another tab saved meanwhile; before it is let go, the folder is written to
// IndexedDB, so that the next holder sees this tab's changes.
// clang-format off
EM_ASYNC_JS(int, tryWebLock, (const char *name), {
    const locks = Module.gomirloLocks || (Module.gomirloLocks = {held: new Map(), next: 1});
    const number = locks.next++;
    let taken = true;
    // Without Web Locks (a page served over plain http, an old browser) the
    // tabs cannot be kept apart; each still saves whole pairs.
    if (navigator.locks) {
        taken = await new Promise((answer) => navigator.locks.request(UTF8ToString(name), {ifAvailable: true}, (lock) => {
            answer(lock !== null);
            return lock && new Promise((release) => locks.held.set(number, release));
        }));
    }
    if (!taken)
        return 0;
    await new Promise((done) => FS.syncfs(true, done));
    return number;
});
// clang-format on

// clang-format off
EM_ASYNC_JS(void, releaseWebLock, (int number), {
    await new Promise((done) => FS.syncfs(false, done));
    const release = Module.gomirloLocks.held.get(number);
    Module.gomirloLocks.held.delete(number);
    if (release)
        release();
});
// clang-format on

} // namespace

namespace FileSystem {

Error tryLock(const QString &path, Lock &held)
{
    const int number = tryWebLock(QFile::encodeName(path).constData());
    if (!number)
        return Busy;
    held = number;
    return 0;
}

void unlock(const QString &, Lock held)
{
    releaseWebLock(int(held));
}

} // namespace FileSystem
