// The lock that serialises every writer of a workbook: an open-file-
// description lock on one byte far beyond any real file offset, so that it
// blocks no plain reader and works across processes and, where the file
// system passes locks on, across machines.
#pragma once

#include <sys/stat.h>

#include <string>
#include <vector>
#include <cstdint>

namespace dorv {

class WorkbookLock {
public:
    enum class Result { Locked, Busy, Replaced };

    WorkbookLock() = default;
    ~WorkbookLock() { release(); }
    WorkbookLock(const WorkbookLock &) = delete;
    WorkbookLock &operator=(const WorkbookLock &) = delete;

    // Opens `path` (for writing when the file allows it, else for reading)
    // and takes the lock without waiting. Busy: another holder has it.
    // Replaced: the path no longer names the file that was opened (another
    // writer renamed a new one in); open again. Other failures raise
    // std::system_error with the errno of the open.
    Result acquire(const std::string &path);

    bool held() const { return fd_ >= 0; }
    bool readOnly() const { return readOnly_; }
    const struct stat &status() const { return st_; }

    // The whole file, read through the locked descriptor.
    std::vector<std::uint8_t> readAll() const;

    void release();

private:
    int fd_ = -1;
    bool readOnly_ = false;
    struct stat st_ {};
};

// Every byte of an open file, read from its start whatever its offset.
// Raises std::system_error.
std::vector<std::uint8_t> readWholeFile(int fd);

}  // namespace dorv
