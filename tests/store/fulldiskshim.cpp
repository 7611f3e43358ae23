// Preloaded into a test's child: write() below $G7_FULL_DISK_DIR fails with ENOSPC, as on a full disk.
#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" ssize_t write(int fd, const void *data, size_t count)
{
    static const auto next = reinterpret_cast<ssize_t (*)(int, const void *, size_t)>(dlsym(RTLD_NEXT, "write"));
    const char *dir = std::getenv("G7_FULL_DISK_DIR");   // set wherever the shim is preloaded
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    char target[4096];
    const ssize_t n = readlink(link.c_str(), target, sizeof target);
    const size_t length = std::strlen(dir);
    if (count > 0 && n > ssize_t(length) && std::strncmp(target, dir, length) == 0 && target[length] == '/') {
        errno = ENOSPC;
        return -1;
    }
    return next(fd, data, count);
}
