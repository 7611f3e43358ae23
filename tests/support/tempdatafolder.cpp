#include "tempdatafolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TempDataFolder::TempDataFolder()
    : m_previous(QDir::currentPath())
{
    if (m_dir.isValid() && QDir(m_dir.path()).mkpath(QStringLiteral("modules")))
        QDir::setCurrent(m_dir.path());
}

TempDataFolder::~TempDataFolder()
{
    QDir::setCurrent(m_previous);
}

bool TempDataFolder::isValid() const
{
    return m_dir.isValid() && QDir(QDir::currentPath()).canonicalPath() == QDir(m_dir.path()).canonicalPath();
}

bool TempDataFolder::copyFromSource(const QString &relative)
{
    const QString target = filePath(relative);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile::remove(target);
    return QFile::copy(QStringLiteral(G7_SOURCE_DIR "/") + relative, target)
            && QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
}

bool TempDataFolder::writeFile(const QString &relative, const QByteArray &contents)
{
    const QString target = filePath(relative);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile out(target);
    return out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(contents) == contents.size();
}

QByteArray TempDataFolder::readFile(const QString &relative) const
{
    QFile in(filePath(relative));
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}
