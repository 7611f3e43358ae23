#include "reporttrace.h"

#include "devicelog.h"

#include <QByteArray>
#include <QHash>
#include <QMutex>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Initialised with the program's static data, before main() runs.
const std::chrono::steady_clock::time_point programStart = std::chrono::steady_clock::now();

QMutex fileMutex;
std::atomic<int> traceFd{-1};

QMutex labelMutex;
QHash<QByteArray, const char *> &labels()
{
    static QHash<QByteArray, const char *> map;
    return map;
}

// Interface names live as long as the program; labels point into this table.
const char *internedLabel(const char *iface)
{
    static const char *const known[] = {"cmd", "evt", "-"};
    for (const char *name : known) {
        if (std::strcmp(name, iface) == 0)
            return name;
    }
    return "?";
}

constexpr char hexDigits[] = "0123456789ABCDEF";

// Called with fileMutex held, so the lines of all threads keep time order.
void appendLine(const char *line, size_t length)
{
    const int fd = traceFd.load();
    if (fd < 0)
        return;
    // One write per line: the line is in the file the moment it returns.
    size_t done = 0;
    while (done < length) {
        const ssize_t n = ::write(fd, line + done, length - done);
        if (n <= 0)
            return;
        done += size_t(n);
    }
}

// "<ms> <iface> <op>", the time with three decimals. Integers only: the
// program's locale may write a decimal comma.
int formatStart(char *line, size_t size, const char *iface, const char *op)
{
    const long long micros = std::llround(ReportTrace::elapsedMs() * 1000.0);
    const int length = std::snprintf(line, size, "%lld.%03lld %s %s", micros / 1000, micros % 1000, iface, op);
    return std::min(length, int(size) - 1);
}

} // namespace

namespace ReportTrace {

bool open(const QString &file)
{
    close();
    const QByteArray name = file.toLocal8Bit();
    // Without O_NONBLOCK a FIFO nobody reads would hold the start in open() for good.
    int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0644);
    if (fd < 0 && errno != ENXIO) {
        qCDebug(lcDevice).noquote() << "Cannot write the report trace" << file << ":" << std::strerror(errno);
        return false;
    }
    struct stat status {};
    if (fd < 0 || ::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        qCDebug(lcDevice).noquote() << "Cannot write the report trace" << file << ": not a regular file";
        return false;
    }
    // A regular file: writes wait for the disk as usual.
    ::fcntl(fd, F_SETFL, O_APPEND);
    QMutexLocker lock(&fileMutex);
    traceFd.store(fd);
    return true;
}

void close()
{
    QMutexLocker lock(&fileMutex);
    const int fd = traceFd.exchange(-1);
    if (fd >= 0)
        ::close(fd);
}

bool isOpen()
{
    return traceFd.load() >= 0;
}

double elapsedMs()
{
    const auto since = std::chrono::steady_clock::now() - programStart;
    return std::chrono::duration<double, std::milli>(since).count();
}

void write(const char *iface, const char *op, const unsigned char *bytes, size_t n, int number)
{
    if (traceFd.load() < 0)
        return;
    // Room for the time, the names, a number and three characters a byte.
    char small[512];
    std::vector<char> large;
    const size_t needed = 64 + std::strlen(iface) + std::strlen(op) + 3 * n;
    char *line = small;
    if (needed > sizeof small) {
        large.resize(needed);
        line = large.data();
    }
    QMutexLocker lock(&fileMutex);
    int length = formatStart(line, 64 + std::strlen(iface) + std::strlen(op), iface, op);
    for (size_t i = 0; i < n; ++i) {
        line[length++] = ' ';
        line[length++] = hexDigits[bytes[i] >> 4];
        line[length++] = hexDigits[bytes[i] & 0x0F];
    }
    if (number >= 0)
        length += std::snprintf(line + length, 16, " %d", number);
    line[length++] = '\n';
    appendLine(line, size_t(length));
}

void writeWord(const char *iface, const char *op, const char *word)
{
    if (traceFd.load() < 0)
        return;
    char line[256];
    QMutexLocker lock(&fileMutex);
    int length = formatStart(line, sizeof line - 2, iface, op);
    length += std::snprintf(line + length, sizeof line - 2 - size_t(length), " %s", word);
    length = std::min(length, int(sizeof line) - 2);
    line[length++] = '\n';
    appendLine(line, size_t(length));
}

void labelPath(const QString &path, const char *iface)
{
    QMutexLocker lock(&labelMutex);
    labels().insert(path.toLocal8Bit(), internedLabel(iface));
}

const char *pathLabel(const char *path)
{
    if (!path)
        return nullptr;
    QMutexLocker lock(&labelMutex);
    return labels().value(QByteArray(path), nullptr);
}

} // namespace ReportTrace
