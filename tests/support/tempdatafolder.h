#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A private data folder for one test: <tmp>/modules/ exists and <tmp> is the
// current directory (where "./modules/" resolves) until the object dies, when
// the previous current directory comes back.
class TempDataFolder
{
public:
    TempDataFolder();
    ~TempDataFolder();
    TempDataFolder(const TempDataFolder &) = delete;
    TempDataFolder &operator=(const TempDataFolder &) = delete;

    bool isValid() const;
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &relative) const { return m_dir.filePath(relative); }

    // Copies a file of the source tree ("modules/setting/apConfig.bin") to the
    // same relative place in the folder.
    bool copyFromSource(const QString &relative);
    // Writes a file, making its folders.
    bool writeFile(const QString &relative, const QByteArray &contents);
    QByteArray readFile(const QString &relative) const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};
