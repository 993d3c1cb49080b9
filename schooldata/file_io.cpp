#include "schooldata/file_io.h"

#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace dorv {

std::string PathFolder(const std::string &path) {
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string PathName(const std::string &path) {
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::vector<std::uint8_t> ReadWholeFile(int fd) {
    std::vector<std::uint8_t> out;
    std::uint8_t buf[65536];
    off_t pos = 0;
    for (;;) {
        ssize_t n = ::pread(fd, buf, sizeof buf, pos);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw std::system_error(errno, std::generic_category(), "read");
        }
        if (n == 0) return out;
        out.insert(out.end(), buf, buf + n);
        pos += n;
    }
}

void WriteAll(int fd, const void *data, std::size_t size, WriteCall write) {
    const auto *at = static_cast<const std::uint8_t *>(data);
    while (size > 0) {
        const ssize_t n = write ? write(fd, at, size) : ::write(fd, at, size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw std::system_error(errno, std::generic_category(), "write");
        // Nothing written and no error: the device takes no more.
        if (n == 0) throw std::system_error(EIO, std::generic_category(), "write");
        at += n;
        size -= static_cast<std::size_t>(n);
    }
}

}  // namespace dorv
