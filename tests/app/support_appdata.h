#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QVariant>

// A private copy of the installation's ./modules/setting/ files and the tray
// icon, made the working directory for the lifetime of the object.
class AppDataDir
{
public:
    AppDataDir();
    ~AppDataDir();

    bool isValid() const;
    QString path() const;
    // Edits apConfig.bin as the program's other readers would see it; an
    // invalid value removes the key.
    void setConfig(const QString &key, const QVariant &value);

private:
    QTemporaryDir dir;
    QString previousDir;
    bool valid = false;
};
