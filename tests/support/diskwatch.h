// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// What the code under test asked of the disk: "made <folder>" for each folder
// it created and "synced <folder>" for each folder it made durable, in order.
// Kept by stand-ins for mkdir and fsync that the test program is linked with
// (-Wl,--wrap=mkdir,--wrap=fsync).
extern QStringList diskLog;
