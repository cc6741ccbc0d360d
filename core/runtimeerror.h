// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <exception>

// The program has no error handling of its own: anything that goes wrong at run
// time (an overflow, a record file that cannot be created, read or written) is
// one of these, reported in one place, after which the program ends.
class RuntimeError : public std::exception
{
public:
    // Codes follow the classic run-time error numbers, so a teacher who reports
    // "errore 75" points at the same kind of trouble as on older installations.
    enum Code {
        Overflow = 6,
        TypeMismatch = 13,
        PermissionDenied = 70,
        FileAccess = 75,
        PathNotFound = 76,
    };

    RuntimeError(Code code, QString detail = {}, QString file = {});

    Code code() const { return m_code; }
    QString file() const { return m_file; }
    // The whole text shown to the user: the error's number and name, the file
    // concerned, and what the system said about it.
    QString message() const;
    const char *what() const noexcept override { return "run-time error"; }

private:
    Code m_code;
    QString m_detail;
    QString m_file;
};
