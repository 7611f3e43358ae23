#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// A temporary <tmp>/modules/, <tmp> being the current directory until the object dies.
class TempDataFolder
{
public:
    TempDataFolder()
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("modules"));
        QDir::setCurrent(m_dir.path());
    }
    ~TempDataFolder() { QDir::setCurrent(m_previous); }

    QString filePath(const QString &relative) const { return m_dir.filePath(relative); }
    // Copies a file of the source tree ("modules/setting/apConfig.bin") to the same relative place.
    bool copyFromSource(const QString &relative)
    {
        QFile in(QStringLiteral(G7_SOURCE_DIR "/") + relative);
        return in.open(QIODevice::ReadOnly) && writeFile(relative, in.readAll());
    }
    // Writes a file, making its folders.
    bool writeFile(const QString &relative, const QByteArray &contents)
    {
        QFile out(filePath(relative));
        return QDir(m_dir.path()).mkpath(QFileInfo(relative).path()) && out.open(QIODevice::WriteOnly)
                && out.write(contents) == contents.size();
    }
    QByteArray readFile(const QString &relative) const { return contents(filePath(relative)); }
    // Any file's bytes; none when it cannot be read.
    static QByteArray contents(const QString &path)
    {
        QFile in(path);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

private:
    QString m_previous = QDir::currentPath();
    QTemporaryDir m_dir;
};
