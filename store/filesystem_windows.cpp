// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "filesystem.h"

#include "runtimeerror.h"

#include <QDir>

#include <algorithm>
#include <string>
#include <utility>

#include <shlobj.h>
#include <windows.h>

namespace FileSystem {
namespace {

// Every name goes to the system as UTF-16, never through the 8-bit code page:
// a record folder under a user name such as "Niccolò" must work whatever the
// system's language. The record paths carry a doubled separator, cleaned
// away here so that the system gets a plain path.
std::wstring native(const QString &path)
{
    return QDir::toNativeSeparators(QDir::cleanPath(path)).toStdWString();
}

// Closes the handle when it goes out of scope, on every way out of a function.
class Handle
{
public:
    explicit Handle(HANDLE handle)
        : m_handle(handle)
    {
    }
    ~Handle()
    {
        if (valid())
            CloseHandle(m_handle);
    }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;

    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_handle; }
    // Closes it now; false if the system reports a failure, which for a file
    // just written may be the first sign that its bytes did not reach it.
    bool close() { return CloseHandle(std::exchange(m_handle, INVALID_HANDLE_VALUE)) != 0; }

private:
    HANDLE m_handle;
};

// Reads a whole file, as the backup copy needs it.
Error readFile(const std::wstring &name, QByteArray &bytes)
{
    Handle file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return Error(GetLastError());
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        return Error(GetLastError());
    // A score file is one short line: one of 4 GiB or more, more than a read
    // can take at once, is refused rather than read into memory.
    if (size.QuadPart > MAXDWORD)
        return ERROR_FILE_TOO_LARGE;
    bytes.resize(qsizetype(size.QuadPart));
    qsizetype done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        if (!ReadFile(file.get(), bytes.data() + done, DWORD(bytes.size() - done), &read, nullptr))
            return Error(GetLastError());
        if (read == 0)
            break; // the file got shorter meanwhile
        done += read;
    }
    bytes.truncate(done);
    return 0;
}

} // namespace

bool exists(const QString &path)
{
    return GetFileAttributesW(native(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void removeQuietly(const QString &path)
{
    DeleteFileW(native(path).c_str());
}

Error writeFileDurably(const QString &path, QByteArrayView bytes)
{
    const std::wstring name = native(path);
    Handle file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return Error(GetLastError());
    Error error = 0;
    qsizetype done = 0;
    while (!error && done < bytes.size()) {
        // WriteFile takes at most a DWORD's worth at a time.
        const DWORD chunk = DWORD(std::min<qsizetype>(bytes.size() - done, 1 << 30));
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr))
            error = Error(GetLastError());
        else if (written == 0)
            error = ERROR_WRITE_FAULT;
        done += written;
    }
    // The bytes are on the disk, not only in the system's cache, before the
    // file may replace anything.
    if (!error && !FlushFileBuffers(file.get()))
        error = Error(GetLastError());
    if (!file.close() && !error)
        error = Error(GetLastError());
    if (error)
        DeleteFileW(name.c_str());
    return error;
}

Error copyDurably(const QString &from, const QString &to)
{
    QByteArray bytes;
    if (const Error error = readFile(native(from), bytes))
        return error;
    return writeFileDurably(to, bytes);
}

Error renameOver(const QString &from, const QString &to)
{
    // Write-through: the call returns once the new name is on the disk.
    return MoveFileExW(native(from).c_str(), native(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
        ? 0
        : Error(GetLastError());
}

Error link(const QString &from, const QString &to)
{
    return CreateHardLinkW(native(to).c_str(), native(from).c_str(), nullptr) ? 0 : Error(GetLastError());
}

Error makeFolder(const QString &path)
{
    return CreateDirectoryW(native(path).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS
        ? 0
        : Error(GetLastError());
}

void syncFolder(const QString &folder)
{
    // A folder opened for writing can be flushed on NTFS; FAT and network
    // shares may refuse, and then there is nothing more to ask.
    Handle handle(CreateFileW(native(folder).c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (handle.valid())
        FlushFileBuffers(handle.get());
}

QStringList earlierRecordFolders()
{
    // The earlier program kept its record in the Windows folder itself. Since
    // Vista, an old 32-bit program that writes there without administrator
    // rights is sent to a copy of that folder in the user's VirtualStore, so
    // that is where its record most likely is. This program, 64-bit, is not
    // redirected: it looks in both places itself.
    wchar_t buffer[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    const QString windows = QDir::fromNativeSeparators(QString::fromWCharArray(buffer, int(length)));
    QStringList folders;
    wchar_t *local = nullptr;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &local))) {
        // C:\Windows is kept as VirtualStore\Windows: the path without its drive.
        const QString withoutDrive = windows.mid(windows.indexOf(u':') + 1);
        folders << QDir::fromNativeSeparators(QString::fromWCharArray(local)) + QStringLiteral("/VirtualStore") + withoutDrive;
    }
    CoTaskMemFree(local);
    folders << windows;
    return folders;
}

void fail(const QString &path, Error error)
{
    RuntimeError::Code code = RuntimeError::FileAccess;
    switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_SHARING_VIOLATION:
        code = RuntimeError::PermissionDenied;
        break;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        code = RuntimeError::PathNotFound;
        break;
    default:
        break;
    }
    // What the system says, in its own language (FormatMessageW's text).
    throw RuntimeError(code, qt_error_string(int(error)), path);
}

} // namespace FileSystem
