// The lock that serialises every writer of a workbook: an open-file-
// description lock on one byte far beyond any real file offset, so that it
// blocks no plain reader and works across processes and, where the file
// system passes locks on, across machines.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <system_error>
#include <vector>

namespace dorv {

// The file system would not take the lock for a reason other than another
// holder (a network share that refuses it on this file): waiting does not
// help. code() holds the errno.
class LockRefused : public std::system_error {
public:
    using std::system_error::system_error;
};

class WorkbookLock {
public:
    enum class Result { Locked, Busy, Replaced, DesktopHeld };
    enum class OpenMode {
        // For a writer. The file must exist; a read-only one is opened for
        // reading. A desktop program's lock file beside it (see
        // DesktopLockFileBeside) makes it DesktopHeld, as if another writer
        // held it: that program would later save its own copy over ours.
        Existing,
        // For a reader: as Existing, but a desktop program's lock file does
        // not matter, since nothing is written.
        ExistingToRead,
        // A lock file: created when missing, always opened for writing.
        CreateForWriting,
    };

    WorkbookLock() = default;
    ~WorkbookLock() { release(); }
    WorkbookLock(const WorkbookLock &) = delete;
    WorkbookLock &operator=(const WorkbookLock &) = delete;

    // Opens `path` (Existing and ExistingToRead: for writing when the file allows it, else for
    // reading) and takes the lock without waiting. Busy: another holder has
    // it. Replaced: the path no longer names the file that was opened
    // (another writer renamed a new one in, or removed it); open again. A
    // file system without any locks (ENOLCK, EOPNOTSUPP, EINVAL) gives
    // Locked with nothing locked: there is nobody to keep apart there. A
    // lock refused for any other reason raises LockRefused; a failed open
    // raises std::system_error with its errno. DesktopHeld: see OpenMode;
    // nothing is held, desktopLockFile() names the lock file.
    Result acquire(const std::string &path, OpenMode mode = OpenMode::Existing);

    bool held() const { return fd_ >= 0; }
    bool readOnly() const { return readOnly_; }
    const struct stat &status() const { return st_; }
    // The locked file's descriptor (-1 while nothing is held).
    int descriptor() const { return fd_; }
    const std::string &desktopLockFile() const { return desktopLockFile_; }

    // The whole file, read through the locked descriptor.
    std::vector<std::uint8_t> readAll() const;

    void release();

private:
    int fd_ = -1;
    bool readOnly_ = false;
    struct stat st_ {};
    std::string desktopLockFile_;
};

// The lock files a desktop spreadsheet program puts beside a workbook it has
// open for editing, in the workbook's folder:
//   ".~lock.<name>#"   LibreOffice and OpenOffice
//   "~$<name>"         Excel, for a short name
//   "~$" + <name> without its first two characters
//                      Excel, which overwrites the start of a longer name
//                      (eight characters and more) instead of prefixing it
// Both forms of Excel's are listed whatever the length: Excel's own rule for
// where a name becomes long is not documented, and a program of ours never
// makes a file of either name.
std::vector<std::string> DesktopLockFileNames(const std::string &path);

// The first of DesktopLockFileNames(path) that exists (as anything, a
// dangling link too), or "" when there is none.
std::string DesktopLockFileBeside(const std::string &path);

// What a refusal because of `lockFile` adds, naming it: one left behind by a
// program that ended without removing it keeps the workbook out until it is
// deleted.
std::string DesktopLockNote(const std::string &lockFile);

// The call that takes the lock, fcntl(2) by default; tests put one here that
// fails the way a file system would. nullptr restores fcntl.
using LockCall = int (*)(int fd, int cmd, struct flock *lock);
void SetLockCall(LockCall call);

// The hidden file a save of `target` writes in the target's own folder
// before renaming it over the target: ".<name>.XXXXXX", created exclusively
// and held by its writer through the same lock as a workbook until the
// descriptor is closed. Returns the descriptor, open for reading and
// writing; `tempPath` names the file. Raises std::system_error.
int CreateSaveTemp(const std::string &target, std::string &tempPath);

// Removes what killed saves of `target` left beside it: files of the name
// pattern of CreateSaveTemp that no live writer holds. Never raises; a file
// it cannot judge is left alone.
void RemoveStaleSaveTemps(const std::string &target);

}  // namespace dorv
