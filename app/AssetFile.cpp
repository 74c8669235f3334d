#include "app/AssetFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool AssetFile::read(const char* path, std::size_t maxBytes, std::vector<unsigned char>& bytes) {
    bytes.clear();
    if (path == nullptr) {
        return false;
    }
    // O_NONBLOCK keeps a named pipe from stalling the open; fstat then refuses it.
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= 0 &&
              static_cast<unsigned long long>(info.st_size) <= maxBytes;
    if (ok) {
        bytes.resize(static_cast<std::size_t>(info.st_size));
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                break;  // the file shrank under us: keep what is there
            }
            done += static_cast<std::size_t>(got);
        }
        bytes.resize(done);
        // A file still growing since fstat is refused rather than read in part.
        unsigned char extra = 0;
        if (done == static_cast<std::size_t>(info.st_size) && ::read(fd, &extra, 1) > 0) {
            ok = false;
        }
    }
    ::close(fd);
    if (!ok) {
        bytes.clear();
    }
    return ok;
}
