// Work done as another user, for the tests of a folder the teachers share:
// the suite runs as root, so a forked child takes a user and group id (no
// account needed) and runs the real save or creation; the parent checks
// what it left. Also the POSIX ACLs of such a folder, as the extended
// attribute the kernel keeps them in.
#pragma once

#include <grp.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace dorv::testing {

// The school's group of teachers, and teachers who are not in any account list.
inline constexpr gid_t kStaffGroup = 3000;

struct Teacher {
    uid_t uid;
    gid_t primary;                // the teacher's own group
    std::vector<gid_t> groups{};  // supplementary groups
    mode_t umask = 022;
};

inline const Teacher kTeacherA{40001, 40001, {kStaffGroup}};
inline const Teacher kTeacherB{40002, 40002, {kStaffGroup}};

// How the child's work ended: exit status 0 and no message when it ran
// through; otherwise what stopped it.
struct ChildRun {
    int status = -1;
    std::string message;
    bool ok() const { return status == 0 && message.empty(); }
};

// Runs `work` in a forked child as `who`. The child never returns into the
// test: whatever happens it leaves with _exit, handing what it raised back
// through a pipe.
inline ChildRun RunAs(const Teacher &who, const std::function<void()> &work) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) throw std::runtime_error("pipe");
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork");
    if (pid == 0) {
        ::close(pipeFds[0]);
        auto leave = [&](int status, const std::string &message) {
            if (!message.empty() && ::write(pipeFds[1], message.data(), message.size()) < 0) status = 4;
            ::_exit(status);
        };
        if (::setgroups(who.groups.size(), who.groups.data()) != 0 ||
            ::setresgid(who.primary, who.primary, who.primary) != 0 || ::setresuid(who.uid, who.uid, who.uid) != 0)
            leave(2, "cannot become uid " + std::to_string(who.uid));
        ::umask(who.umask);
        try {
            work();
        } catch (const std::exception &e) {
            leave(1, e.what());
        } catch (...) {
            leave(3, "unknown exception");
        }
        leave(0, "");
    }
    ::close(pipeFds[1]);
    ChildRun run;
    char buf[512];
    for (ssize_t n; (n = ::read(pipeFds[0], buf, sizeof buf)) != 0;) {
        if (n > 0) run.message.append(buf, static_cast<std::size_t>(n));
        else if (errno != EINTR) break;
    }
    ::close(pipeFds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
}

// Gives `path` a group and mode; every folder above it is made passable
// for everyone, as the folders above a share are.
inline void Share(const std::filesystem::path &path, gid_t group, mode_t mode) {
    if (::chown(path.c_str(), 0, group) != 0 || ::chmod(path.c_str(), mode) != 0)
        throw std::runtime_error("cannot share " + path.string());
    for (std::filesystem::path p = path.parent_path(); !p.empty() && p != p.root_path(); p = p.parent_path()) {
        struct stat st {};
        if (::stat(p.c_str(), &st) != 0 || ::chmod(p.c_str(), (st.st_mode & 07777) | 0111) != 0)
            throw std::runtime_error("cannot open " + p.string());
    }
}

// ---- POSIX ACLs as the kernel stores them ------------------------------------

inline constexpr const char *kAccessAcl = "system.posix_acl_access";
inline constexpr const char *kDefaultAcl = "system.posix_acl_default";

enum AclTag : std::uint16_t { UserObj = 0x01, User = 0x02, GroupObj = 0x04, Group = 0x08, Mask = 0x10, Other = 0x20 };

struct AclEntry {
    AclTag tag;
    std::uint16_t perm;             // 4 read, 2 write, 1 execute
    std::uint32_t id = 0xFFFFFFFF;  // the user or group of a User or Group entry
};

// Version 2, then each entry as tag, permissions and id, little-endian, in
// the order the kernel wants (by tag, then id).
inline std::string AclBytes(const std::vector<AclEntry> &entries) {
    std::string b;
    auto put = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) b += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    put(2, 4);
    for (const AclEntry &e : entries) {
        put(e.tag, 2);
        put(e.perm, 2);
        put(e.id, 4);
    }
    return b;
}

inline void SetAcl(const std::filesystem::path &path, const char *which, const std::string &bytes) {
    if (::setxattr(path.c_str(), which, bytes.data(), bytes.size(), 0) != 0)
        throw std::runtime_error("cannot set the ACL of " + path.string());
}

// The ACL's bytes, or nothing where the file has none.
inline std::optional<std::string> AclOf(const std::filesystem::path &path, const char *which = kAccessAcl) {
    char buf[1024];
    const ssize_t n = ::getxattr(path.c_str(), which, buf, sizeof buf);
    if (n < 0) return std::nullopt;
    return std::string(buf, static_cast<std::size_t>(n));
}

}  // namespace dorv::testing
