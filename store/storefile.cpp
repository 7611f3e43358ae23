#include "storefile.h"

namespace StoreFile {

QSettings::Format format()
{
    return QSettings::IniFormat;
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
