#include "storefile.h"

#include "inidialect.h"

#include <QFile>
#include <QFileDevice>
#include <QtDebug>

namespace StoreFile {

static bool readDialect(QIODevice &device, QSettings::SettingsMap &map)
{
    QStringList typedKeys;
    IniDialect::read(device.readAll(), map, nullptr, &typedKeys);
    if (!typedKeys.isEmpty()) {
        const auto *file = qobject_cast<const QFileDevice *>(&device);
        qDebug().noquote() << "Store file" << (file ? file->fileName() : QStringLiteral("(stream)")) << "keeps"
                           << typedKeys.size() << "typed values as text, the first under" << typedKeys.first();
    }
    return true;   // a damaged line is skipped, the rest still counts
}

static bool writeDialect(QIODevice &device, const QSettings::SettingsMap &map)
{
    // QSettings hands over only the keys; the file being replaced gives their order.
    QByteArray previous;
    if (const auto *target = qobject_cast<const QFileDevice *>(&device)) {
        QFile old(target->fileName());
        // A file we cannot read was never merged in: writing would replace its content with ours alone.
        if (old.exists() && !old.open(QIODevice::ReadOnly))
            return false;
        if (old.isOpen())
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

bool sync(QSettings &settings)
{
    // QSettings writes through QSaveFile: a failed write leaves the old file whole.
    settings.sync();
    if (settings.status() == QSettings::NoError)
        return true;
    qDebug().noquote() << "Store file not readable or not written:" << settings.fileName()
                       << (settings.status() == QSettings::AccessError ? "(access)" : "(format)");
    return false;
}

void Closer::operator()(QSettings *settings) const
{
    sync(*settings);
    delete settings;
}

Handle open(const QString &path)
{
    return Handle(create(path));
}

} // namespace StoreFile
