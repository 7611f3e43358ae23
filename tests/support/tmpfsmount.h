#pragma once

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>

// A small tmpfs mounted over a folder, the files that were there copied in: a real disk that can be filled to its
// last page. Mounting needs root; where it is refused, mounted() is false and error() says why.
class TmpfsMount
{
public:
    explicit TmpfsMount(const QString &dir)
    {
        const QMap<QString, QByteArray> kept = filesBelow(dir);
        QProcess mount;
        mount.start(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=256k", "tmpfs", dir});
        if (!mount.waitForFinished() || mount.exitStatus() != QProcess::NormalExit || mount.exitCode() != 0) {
            m_error = QString::fromLocal8Bit(mount.readAllStandardError()).trimmed();
            return;
        }
        m_dir = dir;
        for (auto it = kept.constBegin(); it != kept.constEnd(); ++it) {
            QFile file(dir + QLatin1Char('/') + it.key());
            QDir(dir).mkpath(QFileInfo(it.key()).path());
            if (!file.open(QIODevice::WriteOnly) || file.write(it.value()) != it.value().size())
                m_error = QStringLiteral("cannot copy ") + it.key();
        }
    }
    ~TmpfsMount()
    {
        if (!m_dir.isEmpty())
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("--lazy"), m_dir});
    }

    bool mounted() const { return !m_dir.isEmpty() && m_error.isEmpty(); }
    QString error() const { return m_error; }

    // Fills the disk up to `pages` free pages with a file named filler.
    bool fillUpTo(int pages) const
    {
        QFile filler(m_dir + QStringLiteral("/filler"));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const QByteArray page(4096, 'f');
        while (filler.write(page) == page.size()) {
        }
        return filler.resize((filler.size() / page.size() - pages) * page.size());
    }

    // Every file below root with its contents, by path relative to root; the filler left out.
    static QMap<QString, QByteArray> filesBelow(const QString &root)
    {
        QMap<QString, QByteArray> files;
        QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            const QString relative = QDir(root).relativeFilePath(file.fileName());
            if (relative != QLatin1String("filler") && file.open(QIODevice::ReadOnly))
                files.insert(relative, file.readAll());
        }
        return files;
    }

private:
    QString m_dir;
    QString m_error;
};
