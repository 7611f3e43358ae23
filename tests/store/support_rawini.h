#pragma once

#include <QByteArray>
#include <QFile>
#include <QMap>
#include <QString>

// Reads an INI file the way another program would: line by line, without
// QSettings. Keys are "group/name" ("name" at the top level), values the text
// after the first '=' with the blanks around it removed, escapes untouched.
inline QMap<QString, QString> readRawIni(const QString &fileName)
{
    QMap<QString, QString> values;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return values;
    QString group;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (QByteArray line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(';'))
            continue;
        if (line.startsWith('[') && line.endsWith(']')) {
            group = QString::fromUtf8(line.mid(1, line.size() - 2));
            if (group == QLatin1String("General"))
                group.clear();
            continue;
        }
        const int eq = line.indexOf('=');
        if (eq < 0)
            continue;
        const QString name = QString::fromUtf8(line.left(eq).trimmed());
        const QString key = group.isEmpty() ? name : group + QLatin1Char('/') + name;
        values.insert(key, QString::fromUtf8(line.mid(eq + 1).trimmed()));
    }
    return values;
}
