#include "storefile.h"

#include "inidialect.h"

#include <QFile>
#include <QFileDevice>

namespace StoreFile {

static bool readDialect(QIODevice &device, QSettings::SettingsMap &map)
{
    IniDialect::read(device.readAll(), map);
    return true;   // a damaged line is skipped, the rest still counts
}

static bool writeDialect(QIODevice &device, const QSettings::SettingsMap &map)
{
    // QSettings hands over only the keys; the file being replaced gives their order.
    QByteArray previous;
    if (const auto *target = qobject_cast<const QFileDevice *>(&device)) {
        QFile old(target->fileName());
        if (old.open(QIODevice::ReadOnly))
            previous = old.readAll();
    }
    const QByteArray text = IniDialect::write(map, previous);
    return device.write(text) == text.size();
}

QSettings::Format format()
{
    static const QSettings::Format dialect =
            QSettings::registerFormat(QStringLiteral("ini"), readDialect, writeDialect, Qt::CaseSensitive);
    return dialect;
}

QSettings *create(const QString &path)
{
    return new QSettings(path, format());
}

std::unique_ptr<QSettings> open(const QString &path)
{
    return std::unique_ptr<QSettings>(create(path));
}

} // namespace StoreFile
