#pragma once

// What the start-up and memory benchmarks read about their own process, from /proc.

#include <QFile>
#include <QList>

#include <ctime>
#include <unistd.h>

// Milliseconds since the kernel started this process.
inline qint64 msSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble(); // field 22 of stat
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
    return qint64(nowMs - startTicks * 1000.0 / sysconf(_SC_CLK_TCK));
}

// A "key: value kB" line of /proc/self/status, such as "VmRSS:"; -1 when missing.
inline qint64 statusKib(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(int(qstrlen(key))).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}
