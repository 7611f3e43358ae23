#include "storefile.h"

#include "inidialect.h"

#include <QFile>
#include <QFileDevice>
#include <QSaveFile>
#include <QtDebug>

namespace StoreFile {

void read(QByteArrayView text, QSettings::SettingsMap &map, const QString &fileName)
{
    QStringList typedKeys;
    IniDialect::read(text, map, nullptr, &typedKeys);
    if (!typedKeys.isEmpty())
        qDebug().noquote() << "Store file" << fileName << "keeps" << typedKeys.size()
                           << "typed values as text, the first under" << typedKeys.first();
}

static bool readDialect(QIODevice &device, QSettings::SettingsMap &map)
{
    const auto *file = qobject_cast<const QFileDevice *>(&device);
    read(device.readAll(), map, file ? file->fileName() : QStringLiteral("(stream)"));
    return true;   // a damaged line is skipped, the rest still counts
}

static bool writeDialect(QIODevice &device, const QSettings::SettingsMap &map)
{
    // QSettings hands over only the keys; the file being replaced gives their order.
    QByteArray previous;
    auto *target = qobject_cast<QFileDevice *>(&device);
    if (target) {
        QFile old(target->fileName());
        // A file we cannot read was never merged in: writing would replace its content with ours alone.
        if (old.exists() && !old.open(QIODevice::ReadOnly))
            return false;
        if (old.isOpen())
            previous = old.readAll();
    }
    const QByteArray text = IniDialect::write(map, previous);
    // QSettings commits its QSaveFile even when the buffered data failed at the final flush.
    return target ? writeAll(*target, text) : device.write(text) == text.size();
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
    settings.sync();
    if (settings.status() == QSettings::NoError)
        return true;
    qDebug().noquote() << "Store file not readable or not written:" << settings.fileName()
                       << (settings.status() == QSettings::AccessError ? "(access)" : "(format)");
    return false;
}

Handle open(const QString &path)
{
    return std::make_unique<StoreDocument>(path);
}

bool writeAll(QFileDevice &file, const QByteArray &content)
{
    // A short write is retried once: the rest then fails with the system's reason (ENOSPC).
    return file.write(content) == content.size() && (file.flush() || file.flush()) && file.size() == content.size();
}

bool replace(const QString &path, const QByteArray &content)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && writeAll(file, content) && file.commit())
        return true;
    const QString why = file.errorString();
    file.cancelWriting();   // the temporary file goes with the object
    qDebug().noquote() << "Cannot write" << path << "-" << why << "- the file there is unchanged";
    return false;
}

} // namespace StoreFile
