// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// The bytes of a record file and the text they stand for. Pure functions, so
// that damaged or foreign files can be tried by the thousand.

// A record file's bytes as text: UTF-8 when they are valid UTF-8 (a leading
// byte-order mark, as some editors write, is dropped), Windows-1252 otherwise,
// as files carried over from older installations are. A multi-byte character
// cut off at the very end, as a read bounded in length may leave, is dropped
// rather than making the whole file count as Windows-1252.
QString decodeRecordText(QByteArrayView bytes, bool truncated = false);

// One record line as written: the text in UTF-8 followed by CR LF.
QByteArray encodeRecordLine(QStringView text);
