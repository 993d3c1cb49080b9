#include "schooldata/file_access.h"

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <system_error>
#include <vector>

namespace dorv {

namespace {

constexpr const char *kAccessAcl = "system.posix_acl_access";
constexpr const char *kDefaultAcl = "system.posix_acl_default";

[[noreturn]] void raise(const char *what) { throw std::system_error(errno, std::generic_category(), what); }

// The file system has no such attribute, or keeps none at all.
bool absent(int e) {
#if EOPNOTSUPP != ENOTSUP
    if (e == EOPNOTSUPP) return true;
#endif
    return e == ENODATA || e == ENOTSUP;
}

// The attribute's bytes, or nothing where the file has none.
std::optional<std::vector<char>> attribute(int fd, const char *name) {
    for (;;) {
        const ssize_t size = ::fgetxattr(fd, name, nullptr, 0);
        if (size < 0) {
            if (absent(errno)) return std::nullopt;
            raise("getxattr");
        }
        std::vector<char> value(static_cast<std::size_t>(size));
        const ssize_t n = ::fgetxattr(fd, name, value.data(), value.size());
        if (n >= 0) {
            value.resize(static_cast<std::size_t>(n));
            return value;
        }
        // Changed in between: ask for its size again.
        if (errno == ERANGE) continue;
        if (absent(errno)) return std::nullopt;
        raise("getxattr");
    }
}

}  // namespace

void KeepAccessOf(int oldFd, int newFd) {
    struct stat old {};
    if (::fstat(oldFd, &old) != 0) raise("stat");
    const std::optional<std::vector<char>> acl = attribute(oldFd, kAccessAcl);

    // Only root gives a file away; a member of the old group may still hand
    // the file to it, which is what keeps a group-shared file shared.
    if (::fchown(newFd, old.st_uid, old.st_gid) != 0 && ::fchown(newFd, static_cast<uid_t>(-1), old.st_gid) != 0) {
        // Not a member: the new file keeps the group it was created with.
    }
    // A new file in a folder with a default ACL has an ACL of its own; an old
    // file without one is kept so. Removed before the mode is set, as the
    // group bits of the mode stand for the ACL's mask while it has one.
    if (!acl && ::fremovexattr(newFd, kAccessAcl) != 0 && !absent(errno)) raise("removexattr");
    if (::fchmod(newFd, old.st_mode & 07777) != 0) raise("chmod");
    // After the mode, which rewrites the ACL's mask.
    if (acl && ::fsetxattr(newFd, kAccessAcl, acl->data(), acl->size(), 0) != 0 && !absent(errno)) raise("setxattr");
}

void ShareLikeFolder(int fd, const std::string &folder) {
    struct stat dir {
    }, file{};
    if (::stat(folder.c_str(), &dir) != 0 || (dir.st_mode & S_IWGRP) == 0 || ::fstat(fd, &file) != 0) return;
    if (file.st_gid != dir.st_gid && ::fchown(fd, static_cast<uid_t>(-1), dir.st_gid) != 0) return;
    if (::getxattr(folder.c_str(), kDefaultAcl, nullptr, 0) > 0) return;
    // Whoever may write the folder may replace the file anyway: giving the
    // group write opens nothing that the folder does not open already.
    const mode_t shared = file.st_mode | S_IRGRP | S_IWGRP;
    if ((shared & 07777) != (file.st_mode & 07777) && ::fchmod(fd, shared & 07777) != 0) {
        // Stays as it was made.
    }
}

}  // namespace dorv
