#include "datapath.h"

#include <QDebug>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#if defined(Q_OS_UNIX)
#  include <sys/stat.h>
#  include <sys/statvfs.h>
#  include <unistd.h>
#endif

namespace {

const QString modulesPrefix = QStringLiteral("./modules/");

QString &userModules()
{
    static QString folder;
    return folder;
}

// Installation data the program only reads; it stays in the installed folder.
bool installedOnly(const QString &underModules)
{
    return underModules.startsWith(QLatin1String("i18n/")) || underModules.startsWith(QLatin1String("img/"))
        || underModules.startsWith(QLatin1String("qml/")) || underModules == QLatin1String("setting/pD.bin");
}

#if defined(Q_OS_UNIX)
bool inGroup(gid_t gid)
{
    if (gid == getegid())
        return true;
    gid_t groups[256];
    const int count = getgroups(256, groups);
    for (int i = 0; i < count; ++i) {
        if (groups[i] == gid)
            return true;
    }
    return false;
}
#endif

// Copies the installed user files that the per-user folder lacks; nothing already there is replaced.
void seed(const QString &installed, const QString &user)
{
    int copied = 0;
    QDirIterator it(installed, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString rel = QDir(installed).relativeFilePath(from);
        const QString to = user + QLatin1Char('/') + rel;
        if (installedOnly(rel) || QFileInfo::exists(to))
            continue;
        QDir().mkpath(QFileInfo(to).absolutePath());
        if (!QFile::copy(from, to)) {
            qWarning().noquote() << "Could not copy" << from << "to" << to;
            continue;
        }
        // The installed copy may be read-only; the user's copy is theirs to change.
        QFile::setPermissions(to, QFile::permissions(to) | QFile::ReadOwner | QFile::WriteOwner);
        ++copied;
    }
    for (const char *dir : {"setting", "macro", "gun"})
        QDir().mkpath(user + QLatin1Char('/') + QLatin1String(dir));
    if (copied)
        qInfo().noquote() << "Copied the installed settings to" << user;
}

} // namespace

bool folderWritable(const QString &dir)
{
#if !defined(Q_OS_UNIX)
    const QFileInfo info(dir);
    return info.isDir() && info.isWritable();
#else
    const QByteArray path = QFile::encodeName(dir);
    struct stat st;
    if (stat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    struct statvfs fs;
    if (statvfs(path.constData(), &fs) == 0 && (fs.f_flag & ST_RDONLY))
        return false;
    const mode_t need = st.st_uid == geteuid() ? (S_IWUSR | S_IXUSR)
                        : inGroup(st.st_gid)   ? (S_IWGRP | S_IXGRP)
                                               : (S_IWOTH | S_IXOTH);
    return (st.st_mode & need) == need;
#endif
}

QString chooseDataFolder(const QString &programDir)
{
    const QString installed = programDir + QStringLiteral("/modules");
    const bool beside = QFileInfo::exists(installed)
        ? folderWritable(installed) && folderWritable(installed + QStringLiteral("/setting"))
        : folderWritable(programDir);
    if (beside) {
        userModules().clear();
        return QString();
    }
    const QString user = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/orvane-g7/modules");
    seed(installed, user);
    userModules() = user;
    return user;
}

QString userDataFolder()
{
    return userModules();
}

QString dataPath(const QString &relative)
{
    const QString &user = userModules();
    if (user.isEmpty() || !relative.startsWith(modulesPrefix))
        return relative;
    const QString rel = relative.mid(modulesPrefix.size());
    if (installedOnly(rel))
        return relative;
    return user + QLatin1Char('/') + rel;
}
