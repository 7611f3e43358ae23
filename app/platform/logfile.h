#pragma once

#include <QFile>
#include <QString>

// The program's log: every debug line also goes to a file, so the errors of a copy started from
// the menu can be found. The file is kept under `limit` bytes; when a line would pass it, the
// file becomes `<path>.1` (replacing the older copy) and a new one starts.
class LogFile
{
public:
    static constexpr qint64 defaultLimit = 1024 * 1024;

    explicit LogFile(const QString &path, qint64 limit = defaultLimit);
    ~LogFile();   // stops being the installed log
    Q_DISABLE_COPY(LogFile)

    // Appends one line (a newline is added); opens the file on first use. False when it cannot.
    bool append(const QString &line);
    QString path() const { return filePath; }

    // $XDG_STATE_HOME/orvane-g7/orvane-g7.log (~/.local/state/... when unset).
    static QString defaultPath();
    // Sends Qt's messages to `log` as well as to the handler before it (the console).
    static void install(LogFile *log);

private:
    bool open();
    void rotate();

    QString filePath;
    qint64 limit;
    QFile file;
    bool failed = false;
};
