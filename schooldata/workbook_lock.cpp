#include "schooldata/workbook_lock.h"

#include "schooldata/file_io.h"
#include "workbook/compound_file.h"
#include "workbook/utf16.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <system_error>

namespace dorv {

namespace {
// No workbook comes near this offset; the byte exists only to be locked.
constexpr off_t kLockOffset = off_t{1} << 62;

LockCall g_lockCall = nullptr;

int lockCall(int fd, int cmd, struct flock *fl) { return g_lockCall ? g_lockCall(fd, cmd, fl) : ::fcntl(fd, cmd, fl); }

enum class ByteLock { Taken, Held, NoLocks };

// Takes the lock byte of an open file (F_WRLCK or F_RDLCK), waiting for it
// with `wait`. Held: another holder has it. NoLocks: the file system keeps
// no locks at all (ENOLCK, EINVAL, EOPNOTSUPP). A lock the file system
// refuses for any other reason raises LockRefused: waiting would not help.
ByteLock lockByte(int fd, short type, bool wait) {
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = kLockOffset;
    fl.l_len = 1;
    while (lockCall(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &fl) != 0) {
        const int e = errno;
        if (e == EINTR) continue;
        if (e == EAGAIN || e == EACCES) return ByteLock::Held;
        if (e == ENOLCK || e == EINVAL || e == EOPNOTSUPP) return ByteLock::NoLocks;
        throw LockRefused(e, std::generic_category(), "lock");
    }
    return ByteLock::Taken;
}

// mkostemp's six characters.
bool isTempSuffix(std::string_view s) {
    if (s.size() != 6) return false;
    for (char c : s)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
    return true;
}

std::string tempPrefix(const std::string &target) { return "." + PathName(target) + "."; }

// A save's file holds a compound file from its first byte on; a killed save
// leaves it empty or cut anywhere. Anything else is not ours.
bool looksLikeSaveTemp(int fd) {
    unsigned char head[cfb::kSignature.size()];
    const ssize_t n = ::pread(fd, head, sizeof head, 0);
    return n >= 0 && std::memcmp(head, cfb::kSignature.data(), static_cast<std::size_t>(n)) == 0;
}
}  // namespace

void SetLockCall(LockCall call) { g_lockCall = call; }

std::vector<std::string> DesktopLockFileNames(const std::string &path) {
    const std::string folder = PathFolder(path) + "/";
    const std::string name = PathName(path);
    std::vector<std::string> out{folder + ".~lock." + name + "#", folder + "~$" + name};
    // Two characters, not two bytes: Excel counts them in UTF-16 units, and
    // a Japanese name keeps its third character whole.
    std::string_view rest = name;
    for (int i = 0; i < 2 && !rest.empty(); ++i) {
        char32_t c = 0;
        const std::size_t n = utf16::decodeUtf8(rest, c);
        rest.remove_prefix(n == 0 ? 1 : n);
        if (c > 0xFFFF) break;  // a surrogate pair is two units by itself
    }
    if (!rest.empty()) out.push_back(folder + "~$" + std::string(rest));
    return out;
}

std::string DesktopLockFileBeside(const std::string &path) {
    for (const std::string &lockFile : DesktopLockFileNames(path)) {
        struct stat st {};
        if (::lstat(lockFile.c_str(), &st) == 0) return lockFile;
    }
    return std::string();
}

std::string DesktopLockNote(const std::string &lockFile) {
    return "（ロックファイル " + lockFile +
           " があります。このファイルを開いているプログラムがなければ、ロックファイルを削除してください）";
}

WorkbookLock::Result WorkbookLock::acquire(const std::string &path, OpenMode mode) {
    release();
    desktopLockFile_.clear();
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

    // A file system that keeps no locks at all: there is nothing to
    // serialise with, so the workbook is used unlocked.
    try {
        if (lockByte(fd, readOnly ? F_RDLCK : F_WRLCK, false) == ByteLock::Held) {
            ::close(fd);
            return Result::Busy;
        }
    } catch (const LockRefused &e) {
        ::close(fd);
        throw LockRefused(e.code(), path);
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
    // Looked for while our lock is held, so that no writer of ours can come
    // in between; the desktop program itself knows nothing of our lock.
    if (mode == OpenMode::Existing) {
        std::string lockFile = DesktopLockFileBeside(path);
        if (!lockFile.empty()) {
            ::close(fd);
            desktopLockFile_ = std::move(lockFile);
            return Result::DesktopHeld;
        }
    }
    fd_ = fd;
    // A file without any write permission bit is read-only for everyone,
    // as the read-only attribute is on the school's Windows share, even for
    // a user whom the system would let write it.
    readOnly_ = readOnly || (st.st_mode & 0222) == 0;
    st_ = st;
    return Result::Locked;
}

std::vector<std::uint8_t> WorkbookLock::readAll() const { return ReadWholeFile(fd_); }

void WorkbookLock::release() {
    if (fd_ >= 0) ::close(fd_);  // closing the description drops its lock
    fd_ = -1;
}

// Whether a save's file is a leftover is told by its lock, not by a process
// id in its name: the writer holds the lock byte from before its first
// write until it closes the file after the rename, and the system drops
// the lock the moment the writer dies, however it dies. A process id would
// say nothing about a writer on another machine sharing the folder, and
// could name an unrelated process once the id is reused. A lock that can be
// taken therefore means a dead writer; where the file system keeps no locks
// nothing can be told, and the file stays.
int CreateSaveTemp(const std::string &target, std::string &tempPath) {
    for (;;) {
        std::string name = PathFolder(target) + "/" + tempPrefix(target) + "XXXXXX";
        int fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd < 0) throw std::system_error(errno, std::generic_category(), "create");
        struct stat st {};
        try {
            lockByte(fd, F_WRLCK, true);
            if (::fstat(fd, &st) != 0) throw std::system_error(errno, std::generic_category(), "stat");
        } catch (...) {
            ::close(fd);
            ::unlink(name.c_str());
            throw;
        }
        // Another save's clean-up that came upon the file before it was
        // locked took it for a leftover and removed it: start afresh.
        if (st.st_nlink == 0) {
            ::close(fd);
            continue;
        }
        tempPath = std::move(name);
        return fd;
    }
}

void RemoveStaleSaveTemps(const std::string &target) {
    const std::string folder = PathFolder(target);
    const std::string prefix = tempPrefix(target);
    std::unique_ptr<DIR, int (*)(DIR *)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return;
    while (const dirent *e = ::readdir(dir.get())) {
        const std::string_view name = e->d_name;
        if (name.size() != prefix.size() + 6 || name.substr(0, prefix.size()) != prefix ||
            !isTempSuffix(name.substr(prefix.size())))
            continue;
        const std::string path = folder + "/" + std::string(name);
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st {
        }, now{};
        try {
            // Holding the lock while removing keeps a writer that has not
            // locked its new file yet from starting on it unnoticed.
            if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && looksLikeSaveTemp(fd) &&
                lockByte(fd, F_RDLCK, false) == ByteLock::Taken && ::lstat(path.c_str(), &now) == 0 &&
                now.st_dev == st.st_dev && now.st_ino == st.st_ino)
                ::unlink(path.c_str());
        } catch (const std::system_error &) {
            // Not judged: left alone.
        }
        ::close(fd);
    }
}

}  // namespace dorv
