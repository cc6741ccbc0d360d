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

// A virus scanner, a backup or a sync agent may hold a file for a moment; its
// refusal is waited out this long before it counts.
constexpr std::chrono::milliseconds Patience{2000};

// UTF-16, so that a user name such as "Niccolò" works in any language; the
// long form (\\?\, \\?\UNC\ on a share), which takes the path as it is, so
// that a deep redirected folder works.
std::wstring native(const QString &path)
{
    const QString plain = QDir::toNativeSeparators(QDir::cleanPath(path));
    if (plain.startsWith(QStringLiteral("\\\\")))
        return (QStringLiteral("\\\\?\\UNC\\") + plain.mid(2)).toStdWString();
    return (QDir::isAbsolutePath(path) ? QStringLiteral("\\\\?\\") + plain : plain).toStdWString();
}

bool briefRefusal(Error error, const std::wstring &name)
{
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
        return true;
    if (error != ERROR_ACCESS_DENIED)
        return false;
    // Denied is brief only where nothing about the file forbids the access (a
    // file being deleted refuses even a look at it).
    const DWORD attributes = GetFileAttributesW(name.c_str());
    return attributes == INVALID_FILE_ATTRIBUTES || !(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
}

// Makes a call on the file name until it succeeds or is refused for good.
template<typename Call>
Error retried(const std::wstring &name, Call call)
{
    return retryBriefly(
        Patience, [&] { return call() ? Error(0) : Error(GetLastError()); },
        [&](Error error) { return briefRefusal(error, name); });
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
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
    }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;

    HANDLE get() const { return m_handle; }
    // Closes it now; false if the system reports a failure, which for a file
    // just written may be the first sign that its bytes did not reach it.
    bool close() { return CloseHandle(std::exchange(m_handle, INVALID_HANDLE_VALUE)) != 0; }

private:
    HANDLE m_handle;
};

// Opens a file with CreateFileW, waiting out brief refusals.
Error openFile(const std::wstring &name, DWORD access, DWORD sharing, DWORD disposition, HANDLE &opened)
{
    return retried(name, [&] {
        opened = CreateFileW(name.c_str(), access, sharing, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
        return opened != INVALID_HANDLE_VALUE;
    });
}

} // namespace

bool exists(const QString &path)
{
    const std::wstring name = native(path);
    const Error error = retried(name, [&] { return GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES; });
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return false;
    if (error)
        fail(path, error);
    return true;
}

void removeQuietly(const QString &path)
{
    const std::wstring name = native(path);
    retried(name, [&] { return DeleteFileW(name.c_str()) != 0; });
}

Error readFile(const QString &path, qint64 maxBytes, QByteArray &bytes)
{
    HANDLE opened = INVALID_HANDLE_VALUE;
    if (const Error error = openFile(native(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     OPEN_EXISTING, opened))
        return error;
    Handle file(opened);
    bytes.resize(maxBytes);
    qsizetype done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        if (!ReadFile(file.get(), bytes.data() + done, DWORD(std::min<qsizetype>(bytes.size() - done, 1 << 30)), &read, nullptr))
            return Error(GetLastError());
        if (read == 0)
            break;
        done += read;
    }
    bytes.truncate(done);
    return 0;
}

Error writeFileDurably(const QString &path, QByteArrayView bytes)
{
    const std::wstring name = native(path);
    HANDLE opened = INVALID_HANDLE_VALUE;
    if (const Error error = openFile(name, GENERIC_WRITE, 0, CREATE_ALWAYS, opened))
        return error;
    Handle file(opened);
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
    // file may replace anything. A file system that cannot flush (some network
    // ones) has nothing more to give.
    if (!error && !FlushFileBuffers(file.get()))
        error = Error(GetLastError());
    if (error == ERROR_INVALID_FUNCTION || error == ERROR_NOT_SUPPORTED)
        error = 0;
    if (!file.close() && !error)
        error = Error(GetLastError());
    if (error)
        removeQuietly(path);
    return error;
}

Error renameOver(const QString &from, const QString &to)
{
    const std::wstring source = native(from), target = native(to);
    // Write-through: the call returns once the new name is on the disk.
    return retried(target, [&] {
        return MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    });
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
    if (handle.get() != INVALID_HANDLE_VALUE)
        FlushFileBuffers(handle.get());
}

// A file opened with no sharing is this one handle's alone, on a network share
// too, where the server enforces it; delete-on-close removes it as the handle
// goes, whether the game lets go or dies.
Error tryLock(const QString &path, Lock &held)
{
    const HANDLE handle = CreateFileW(native(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const Error error = Error(GetLastError());
        // A lock file that its last holder is still removing refuses access.
        return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ? Busy : error;
    }
    held = reinterpret_cast<Lock>(handle);
    return 0;
}

void unlock(const QString &, Lock held)
{
    CloseHandle(reinterpret_cast<HANDLE>(held));
}

QStringList earlierRecordFolders()
{
    // The earlier, 32-bit program wrote into the Windows folder, which Windows
    // sends to the user's VirtualStore; this program is not redirected.
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
    case ERROR_LOCK_VIOLATION:
        code = RuntimeError::PermissionDenied;
        break;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
        code = RuntimeError::PathNotFound;
        break;
    default:
        break;
    }
    // What the system says, in its own language (FormatMessageW's text).
    throw RuntimeError(code, qt_error_string(int(error)), path);
}

} // namespace FileSystem
