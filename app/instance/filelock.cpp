#include "filelock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace FileLock {

bool removeLeftover(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        return QDir(path).removeRecursively();
    return QFile::remove(path);
}

} // namespace FileLock
