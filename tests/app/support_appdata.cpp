#include "support_appdata.h"

#include <QDir>
#include <QFile>
#include <QSettings>

AppDataDir::AppDataDir()
    : previousDir(QDir::currentPath())
{
    if (!dir.isValid())
        return;
    const QDir source(QStringLiteral(G7_SOURCE_DIR "/modules/setting"));
    QDir(dir.path()).mkpath(QStringLiteral("modules/setting"));
    for (const QString &name : source.entryList(QDir::Files))
        QFile::copy(source.filePath(name), dir.filePath(QStringLiteral("modules/setting/") + name));
    QDir(dir.path()).mkpath(QStringLiteral("modules/img"));
    QFile::copy(QStringLiteral(G7_SOURCE_DIR "/modules/img/trayIcon.ico"),
                dir.filePath(QStringLiteral("modules/img/trayIcon.ico")));
    valid = QFile::exists(dir.filePath(QStringLiteral("modules/setting/apConfig.bin")))
            && QDir::setCurrent(dir.path());
}

AppDataDir::~AppDataDir()
{
    QDir::setCurrent(previousDir);
}

bool AppDataDir::isValid() const
{
    return valid;
}

QString AppDataDir::path() const
{
    return dir.path();
}

void AppDataDir::setConfig(const QString &key, const QVariant &value)
{
    QSettings config(dir.filePath(QStringLiteral("modules/setting/apConfig.bin")), QSettings::IniFormat);
    if (value.isValid())
        config.setValue(key, value);
    else
        config.remove(key);
}
