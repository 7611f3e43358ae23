#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

// One store file read whole into memory and written back whole when it
// changed, for the files opened per call (name lists, macro files, recoil
// data). It holds no shared cache: a change whose write failed is gone with the
// object and can never reach the file later.
class StoreDocument
{
public:
    explicit StoreDocument(const QString &path);
    // Writes what changed (see commit()).
    ~StoreDocument();
    StoreDocument(const StoreDocument &) = delete;
    StoreDocument &operator=(const StoreDocument &) = delete;

    QString fileName() const { return m_path; }
    // False when the file exists but could not be read; such a file is never written.
    bool readable() const { return m_readable; }

    QVariant value(const QString &key, const QVariant &defaultValue = QVariant()) const;
    bool contains(const QString &key) const;
    QStringList allKeys() const;
    // One level of group: childKeys() lists the keys directly below it.
    void beginGroup(const QString &group);
    void endGroup();
    QStringList childKeys() const;

    // A value whose line would stay the same changes nothing.
    void setValue(const QString &key, const QVariant &value);
    // The key and every key below it.
    void remove(const QString &key);

    // Replaces the file when something changed; true when nothing had to be
    // written. On failure the file stays as it was and the change is dropped.
    bool commit();

private:
    QString fullKey(const QString &key) const { return m_group + key; }

    QString m_path;
    QString m_group;
    QSettings::SettingsMap m_map;
    QByteArray m_previous;
    bool m_readable = true;
    bool m_changed = false;
};
