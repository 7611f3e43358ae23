#include "autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace Autostart {

QString filePath()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::homePath() + QLatin1String("/.config");
    return config + QLatin1String("/autostart/orvane-g7.desktop");
}

bool isEnabled()
{
    return QFileInfo::exists(filePath());
}

QByteArray entryText(const QString &program)
{
    // Inside the double quotes of an Exec key, these four are escaped with a backslash;
    // the desktop file's own escaping then doubles every backslash once more.
    QString quoted = program;
    for (const char *c : {"\\", "\"", "`", "$"})
        quoted.replace(QLatin1String(c), QLatin1String("\\") + QLatin1String(c));
    quoted.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    return QByteArrayLiteral("[Desktop Entry]\n"
                             "Type=Application\n"
                             "Name=ORVANE GLIDE MOUSE G7\n"
                             "Comment=Keeps the mouse settings tool in the system tray\n"
                             "Exec=\"") + quoted.toUtf8() + QByteArrayLiteral("\" --hidden\n"
                             "Icon=orvane-g7\n"
                             "Terminal=false\n"
                             "X-GNOME-Autostart-enabled=true\n");
}

bool setEnabled(bool on, const QString &program, QString *error)
{
    const QString path = filePath();
    if (!on) {
        if (!QFileInfo::exists(path) || QFile::remove(path))
            return true;
        *error = QStringLiteral("cannot remove %1").arg(path);
        return false;
    }
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    const QByteArray text = entryText(program);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace Autostart
