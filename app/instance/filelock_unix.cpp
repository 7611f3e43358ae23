#include "filelock.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileLock {

// flock() on the file is the lock: the kernel drops it when the holder dies,
// so an empty, garbled or foreign file is never mistaken for a running copy.
Result take(const QString &path, qintptr *handle)
{
    const QByteArray name = QFile::encodeName(path);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY,
                              0600);
        struct stat status {};
        if (fd >= 0 && ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
            if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
                // Only for a person looking: which process holds it.
                const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
                if (::ftruncate(fd, 0) == 0)
                    [[maybe_unused]] const ssize_t written = ::write(fd, pid.constData(), size_t(pid.size()));
                *handle = fd;
                return Result::Taken;
            }
            const int error = errno;
            ::close(fd);
            return error == EWOULDBLOCK ? Result::Held : Result::Unavailable;
        }
        if (fd >= 0)
            ::close(fd);
        // Not a plain file (a directory, a link, a socket, a FIFO): out of the way, once.
        if (attempt > 0 || (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) || !removeLeftover(path))
            return Result::Unavailable;
    }
    return Result::Unavailable;
}

void release(qintptr handle)
{
    ::close(int(handle));
}

// A shared lock conflicts only with the holder's exclusive one, so lookers never
// keep each other, or a holder, out for longer than the call.
Result probe(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return errno == ENOENT ? Result::Taken : Result::Unavailable;
    const int locked = ::flock(fd, LOCK_SH | LOCK_NB);
    const int error = errno;
    ::close(fd);
    if (locked == 0)
        return Result::Taken;
    return error == EWOULDBLOCK ? Result::Held : Result::Unavailable;
}

} // namespace FileLock
