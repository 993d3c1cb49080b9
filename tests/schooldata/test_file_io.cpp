#include "schooldata/file_io.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <system_error>
#include <vector>

#include "tests/temp_dir.h"

namespace {

using dorv::PathFolder;
using dorv::PathName;
using dorv::ReadWholeFile;
using dorv::WriteAll;

TEST(FileIo, SplitsAPathIntoFolderAndName) {
    struct Case {
        std::string path, folder, name;
    };
    for (const Case &c : std::vector<Case>{
             {"成績.xls", ".", "成績.xls"},
             {"/成績.xls", "/", "成績.xls"},
             {"/mnt/s/Dorv/Data/１年生/成績.xls", "/mnt/s/Dorv/Data/１年生", "成績.xls"},
             {"Data/成績.xls", "Data", "成績.xls"},
             {"Data/", "Data", ""},
             {"", ".", ""},
         }) {
        EXPECT_EQ(PathFolder(c.path), c.folder) << c.path;
        EXPECT_EQ(PathName(c.path), c.name) << c.path;
    }
}

class FileIoOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = (dir_ / "file.bin").string();
        fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        ASSERT_GE(fd_, 0);
    }
    void TearDown() override {
        if (fd_ >= 0) ::close(fd_);
    }

    dorv::testing::TempDir dir_{"dorv-file-io"};
    std::string path_;
    int fd_ = -1;
};

std::vector<std::uint8_t> Pattern(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    return bytes;
}

TEST_F(FileIoOnDisk, ReadsTheWholeFileFromItsStartWhateverTheOffset) {
    EXPECT_TRUE(ReadWholeFile(fd_).empty());
    // More than two of the reader's blocks, and not a whole one at the end.
    const std::vector<std::uint8_t> bytes = Pattern(2 * 65536 + 1234);
    ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ASSERT_EQ(::lseek(fd_, 5000, SEEK_SET), 5000);
    EXPECT_EQ(ReadWholeFile(fd_), bytes);
    EXPECT_EQ(::lseek(fd_, 0, SEEK_CUR), 5000);
}

TEST_F(FileIoOnDisk, ARefusedReadRaisesItsError) {
    const int writeOnly = ::open(path_.c_str(), O_WRONLY | O_CLOEXEC);
    ASSERT_GE(writeOnly, 0);
    try {
        ReadWholeFile(writeOnly);
        ADD_FAILURE() << "read from a write-only descriptor";
    } catch (const std::system_error &e) {
        EXPECT_EQ(e.code().value(), EBADF);
    }
    ::close(writeOnly);
}

// A system that takes at most three bytes a call and is interrupted before
// every other call.
ssize_t ShortWrites(int fd, const void *buf, std::size_t count) {
    static bool interrupt = false;
    interrupt = !interrupt;
    if (interrupt) {
        errno = EINTR;
        return -1;
    }
    return ::write(fd, buf, std::min<std::size_t>(count, 3));
}

TEST_F(FileIoOnDisk, WritesEveryByteThroughShortAndInterruptedWrites) {
    const std::vector<std::uint8_t> bytes = Pattern(1000);
    WriteAll(fd_, bytes.data(), bytes.size(), &ShortWrites);
    EXPECT_EQ(ReadWholeFile(fd_), bytes);
    WriteAll(fd_, bytes.data(), 0, &ShortWrites);
    EXPECT_EQ(ReadWholeFile(fd_).size(), bytes.size());
}

ssize_t DiskFull(int, const void *, std::size_t) {
    errno = ENOSPC;
    return -1;
}
ssize_t TakesNothing(int, const void *, std::size_t) { return 0; }

TEST_F(FileIoOnDisk, AFailedWriteRaisesItsErrorAndAWriteOfNothingAnInputOutputError) {
    struct Case {
        dorv::WriteCall call;
        int error;
    };
    for (const Case &c : {Case{&DiskFull, ENOSPC}, Case{&TakesNothing, EIO}}) {
        const std::uint8_t byte = 1;
        try {
            WriteAll(fd_, &byte, 1, c.call);
            ADD_FAILURE() << "no error for " << c.error;
        } catch (const std::system_error &e) {
            EXPECT_EQ(e.code().value(), c.error);
        }
    }
}

}  // namespace
