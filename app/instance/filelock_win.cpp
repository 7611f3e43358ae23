#include "filelock.h"

#include <QFileInfo>

#include <QtCore/qt_windows.h>

namespace FileLock {

// A handle opened without write sharing is the lock; Windows closes it when the holder dies.
Result take(const QString &path, qintptr *handle)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        const HANDLE h = CreateFileW(reinterpret_cast<const wchar_t *>(path.utf16()), GENERIC_READ | GENERIC_WRITE,
                                     FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            *handle = reinterpret_cast<qintptr>(h);
            return Result::Taken;
        }
        if (GetLastError() == ERROR_SHARING_VIOLATION)
            return Result::Held;
        if (attempt > 0 || !QFileInfo(path).isDir() || !removeLeftover(path))
            return Result::Unavailable;
    }
    return Result::Unavailable;
}

void release(qintptr handle)
{
    CloseHandle(reinterpret_cast<HANDLE>(handle));
}

Result probe(const QString &path)
{
    qintptr handle = -1;
    const Result result = take(path, &handle);
    if (result == Result::Taken)
        release(handle);
    return result;
}

} // namespace FileLock
