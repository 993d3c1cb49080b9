#include "schooldata/workbook_lock.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace dorv {

namespace {
// No workbook comes near this offset; the byte exists only to be locked.
constexpr off_t kLockOffset = off_t{1} << 62;

LockCall g_lockCall = nullptr;

int lockCall(int fd, int cmd, struct flock *fl) {
    return g_lockCall ? g_lockCall(fd, cmd, fl) : ::fcntl(fd, cmd, fl);
}
}  // namespace

void SetLockCall(LockCall call) { g_lockCall = call; }

WorkbookLock::Result WorkbookLock::acquire(const std::string &path, OpenMode mode) {
    release();
    const bool create = mode == OpenMode::CreateForWriting;
    int fd = create ? ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666)
                    : ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    bool readOnly = false;
    if (!create && fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        readOnly = true;
    }
    if (fd < 0) throw std::system_error(errno, std::generic_category(), path);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        int e = errno;
        ::close(fd);
        throw std::system_error(e, std::generic_category(), path);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        throw std::system_error(S_ISDIR(st.st_mode) ? EISDIR : EINVAL, std::generic_category(), path);
    }

    struct flock fl {};
    fl.l_type = readOnly ? F_RDLCK : F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = kLockOffset;
    fl.l_len = 1;
    if (lockCall(fd, F_OFD_SETLK, &fl) != 0) {
        int e = errno;
        if (e == EAGAIN || e == EACCES) {
            ::close(fd);
            return Result::Busy;
        }
        // A file system that keeps no locks at all (ENOLCK, EINVAL): there is
        // nothing to serialise with, so the workbook is used unlocked.
        if (e != ENOLCK && e != EINVAL && e != EOPNOTSUPP) {
            ::close(fd);
            throw LockRefused(e, std::generic_category(), path);
        }
    }
    // Whoever finds the lock file shared must be able to write it too.
    if (create && ::fchmod(fd, 0666) != 0) {
        // Someone else's file keeps its mode; it was writable enough to open.
    }

    struct stat now {};
    if (::stat(path.c_str(), &now) != 0 || now.st_dev != st.st_dev || now.st_ino != st.st_ino) {
        ::close(fd);
        return Result::Replaced;
    }
    fd_ = fd;
    // A file without any write permission bit is read-only for everyone,
    // as the read-only attribute is on the school's Windows share, even for
    // a user whom the system would let write it.
    readOnly_ = readOnly || (st.st_mode & 0222) == 0;
    st_ = st;
    return Result::Locked;
}

std::vector<std::uint8_t> readWholeFile(int fd) {
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

std::vector<std::uint8_t> WorkbookLock::readAll() const { return readWholeFile(fd_); }

void WorkbookLock::release() {
    if (fd_ >= 0) ::close(fd_);  // closing the description drops its lock
    fd_ = -1;
}

}  // namespace dorv
