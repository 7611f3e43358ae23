#pragma once

#include <QDir>
#include <QTemporaryDir>

// A fresh installation folder made the working directory, so that
// ./modules/... paths resolve into it.
class DataDir
{
public:
    DataDir()
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("modules/setting"));
        QDir(m_dir.path()).mkpath(QStringLiteral("modules/i18n"));
        m_previous = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
    }
    ~DataDir() { QDir::setCurrent(m_previous); }

    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    QString setting(const QString &name) const { return path(QStringLiteral("modules/setting/") + name); }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};
