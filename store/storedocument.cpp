#include "storedocument.h"

#include "inidialect.h"
#include "storefile.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

StoreDocument::StoreDocument(const QString &path)
    : m_path(path)
{
    QFile file(path);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        m_readable = false;
        qDebug().noquote() << "Store file not readable:" << path << "-" << file.errorString();
        return;
    }
    m_previous = file.readAll();
    StoreFile::read(m_previous, m_map, path);
}

StoreDocument::~StoreDocument()
{
    commit();
}

QVariant StoreDocument::value(const QString &key, const QVariant &defaultValue) const
{
    return m_map.value(fullKey(key), defaultValue);
}

bool StoreDocument::contains(const QString &key) const
{
    return m_map.contains(fullKey(key));
}

QStringList StoreDocument::allKeys() const
{
    QStringList keys;
    for (auto it = m_map.constBegin(); it != m_map.constEnd(); ++it) {
        if (it.key().startsWith(m_group))
            keys.append(it.key().mid(m_group.size()));
    }
    return keys;
}

void StoreDocument::beginGroup(const QString &group)
{
    m_group = group + QLatin1Char('/');
}

void StoreDocument::endGroup()
{
    m_group.clear();
}

QStringList StoreDocument::childKeys() const
{
    QStringList keys;
    for (const QString &key : allKeys()) {
        if (!key.contains(QLatin1Char('/')))
            keys.append(key);
    }
    return keys;
}

void StoreDocument::setValue(const QString &key, const QVariant &value)
{
    const QString full = fullKey(key);
    const auto stored = m_map.constFind(full);
    if (stored != m_map.constEnd() && IniDialect::valueText(*stored) == IniDialect::valueText(value))
        return;
    m_map.insert(full, value);
    m_changed = true;
}

void StoreDocument::remove(const QString &key)
{
    const QString full = fullKey(key);
    const QString below = full + QLatin1Char('/');
    for (auto it = m_map.begin(); it != m_map.end();) {
        if (it.key() == full || it.key().startsWith(below)) {
            it = m_map.erase(it);
            m_changed = true;
        } else {
            ++it;
        }
    }
}

bool StoreDocument::commit()
{
    if (!m_changed)
        return true;
    m_changed = false;
    // A file we could not read was never merged in: writing would replace its content with ours alone.
    if (!m_readable)
        return false;
    // A missing folder is made, as QSettings did for every store file.
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    const QByteArray text = IniDialect::write(m_map, m_previous);
    if (!StoreFile::replace(m_path, text))
        return false;
    m_previous = text;
    return true;
}
