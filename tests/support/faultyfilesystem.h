// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// A stand-in for the record store's file operations that counts them and
// makes one of them go wrong. Behind it are the system's own operations: the
// test program builds them once more under the name RealFileSystem.
namespace Faults {

enum Kind {
    None,
    Refuse, // the step fails without doing anything
    RefuseAfterDoing, // a rename is done, then reported failed, as a network share may
    RenamesFail, // from that step on every rename fails, as while a scanner holds a file
    Crash, // the program dies there: Crashed is thrown past everything
};
struct Crashed {
};

extern int steps; // counted since the last reset
// A file system without hard links, as FAT: every link is refused (and counted).
extern bool noLinks;
// "made <folder>" for each folder made, "synced <folder>" for each folder made
// durable, in order.
extern QStringList log;
// From now on, step number `at` goes wrong in this way.
void reset(Kind kind = None, int at = 0);

} // namespace Faults
