#include "roster/file_helpers.h"

#include "schooldata/excel_service.h"
#include "schooldata/file_access.h"
#include "schooldata/file_io.h"
#include "schooldata/workbook_lock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

namespace dorv {
namespace {

constexpr std::size_t kBlockSize = 8192;

BlockWriter g_writer = nullptr;

std::string openError(const std::string &path) { return "ファイル " + path + " は開けません"; }
std::string createError(const std::string &path) { return "ファイル " + path + " を作成できません"; }

// Closes the descriptor once, whichever way the copy ends.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return fd_; }
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

std::string expand(const std::string &path) {
    std::error_code ec;
    const auto abs = std::filesystem::absolute(path, ec);
    return ec ? path : abs.lexically_normal().string();
}

}  // namespace

void SetBlockWriter(BlockWriter writer) { g_writer = writer; }

bool FileHasAttr(const std::string &fileName, std::uint16_t attr) {
    std::uint16_t bits = 0;
    struct stat st {};
    if (::stat(fileName.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) bits |= faDirectory;
        if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) bits |= faReadOnly;
    }
    return (bits & attr) == attr;
}

bool IsReadOnlyFile(const std::string &fileName) {
    struct stat st {};
    return ::stat(fileName.c_str(), &st) == 0 && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

void CopyFileChunked(const std::string &source, const std::string &destIn, CopyDest mode) {
    std::string dest = expand(destIn);
    if (mode == CopyDest::FolderOrFile && FileHasAttr(dest, faDirectory)) {
        if (dest.empty() || dest.back() != '/') dest += '/';
        dest += PathName(source);
    }

    Fd in(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    struct stat st {};
    // A folder opens for reading on Linux but is no file to copy.
    if (in.get() < 0 || ::fstat(in.get(), &st) != 0 || !S_ISREG(st.st_mode)) throw RosterFileError(openError(source));

    constexpr int flags = O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY;
    // A file replaced in place keeps what it carries; only a new one is
    // given its access.
    int fd = ::open(dest.c_str(), flags | O_EXCL | O_NOFOLLOW, 0666);
    const bool created = fd >= 0;
    if (!created && errno == EEXIST && mode != CopyDest::NewFile) fd = ::open(dest.c_str(), flags | O_TRUNC, 0666);
    Fd out(fd);
    if (out.get() < 0) throw RosterFileError(createError(dest));
    // The roster is for every teacher of a shared folder, not only for the
    // one whose opening created it.
    if (created) ShareLikeFolder(out.get(), PathFolder(dest));

    // From here on the destination is ours: a failure removes it.
    const auto fail = [&](const std::string &message) {
        ::unlink(dest.c_str());
        throw RosterFileError(message);
    };
    std::vector<char> buffer(kBlockSize);
    for (;;) {
        const ssize_t n = ::read(in.get(), buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fail(openError(source));
        if (n == 0) break;
        try {
            WriteAll(out.get(), buffer.data(), static_cast<std::size_t>(n), g_writer);
        } catch (const std::system_error &) {
            fail(createError(dest));
        }
    }
    if (::fsync(out.get()) != 0 || !out.close()) fail(createError(dest));
}

bool CanOpenFile(const std::string &fileName) {
    struct stat st {};
    if (::stat(fileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    if (IsReadOnlyFile(fileName)) return false;
    // The writers' own lock, taken and given back at once: held by another
    // writer or a desktop program, or not writable for us, means not now.
    try {
        WorkbookLock lock;
        return lock.acquire(fileName) == WorkbookLock::Result::Locked && !lock.readOnly();
    } catch (const LockRefused &e) {
        throw RosterFileError(LockRefusedMessage(fileName, e.code().value()));
    } catch (const std::system_error &) {
        return false;
    }
}

}  // namespace dorv
